#include "runtime/reports/page_placer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rk {
namespace {

// Records what the placer asks for as "page" and "band@y" steps.
class RecordingSink : public PlacementSink {
 public:
  void FinishPage() override { steps.push_back("page"); }
  void PlaceBand(int id, int32_t y) override {
    steps.push_back(std::to_string(id) + "@" + std::to_string(y));
  }
  std::vector<std::string> steps;
};

using Steps = std::vector<std::string>;

TEST(PagePlacerTest, BandsFillThePageAndTheOneThatDoesNotFitStartsTheNext) {
  RecordingSink sink;
  PagePlacer placer(100, sink);
  placer.Place(1, 40);
  placer.Place(2, 40);
  placer.Place(3, 20);  // exactly fills the area
  placer.Place(4, 1);
  EXPECT_EQ(sink.steps, (Steps{"1@0", "2@40", "3@80", "page", "4@0"}));
}

TEST(PagePlacerTest, ABandTallerThanTheAreaIsPlacedAloneOnItsOwnPage) {
  RecordingSink sink;
  PagePlacer placer(100, sink);
  placer.Place(1, 30);
  placer.Place(2, 250);  // the page has a band: finish it first
  placer.Place(3, 10);   // nothing fits below the tall band
  EXPECT_EQ(sink.steps, (Steps{"1@0", "page", "2@0", "page", "3@0"}));
}

TEST(PagePlacerTest, ATallBandOnAnEmptyPageIsPlacedWithoutAnEmptyPageBefore) {
  RecordingSink sink;
  PagePlacer placer(100, sink);
  placer.Place(1, 250);
  EXPECT_EQ(sink.steps, (Steps{"1@0"}));
}

TEST(PagePlacerTest, AHeldHeaderMovesToTheNextPageWithTheBandAfterIt) {
  RecordingSink sink;
  PagePlacer placer(100, sink);
  placer.Place(1, 70);
  placer.Hold(2, 20);   // would fit alone at 70
  placer.Place(3, 20);  // together 40: does not fit
  EXPECT_EQ(sink.steps, (Steps{"1@0", "page", "2@0", "3@20"}));
}

TEST(PagePlacerTest, NestedHeldHeadersStayTogetherWithTheirFirstDetail) {
  RecordingSink sink;
  PagePlacer placer(100, sink);
  placer.Place(1, 50);
  placer.Hold(2, 10);
  placer.Hold(3, 10);
  placer.Place(4, 10);  // 80 in all: fits
  placer.Hold(5, 10);
  placer.Place(6, 15);  // 105: the header goes with it
  EXPECT_EQ(sink.steps, (Steps{"1@0", "2@50", "3@60", "4@70", "page", "5@0", "6@10"}));
}

TEST(PagePlacerTest, FlushPlacesHeldBandsAndAnOutsidePageEndStartsAtTheTop) {
  RecordingSink sink;
  PagePlacer placer(100, sink);
  placer.Hold(1, 10);
  EXPECT_TRUE(sink.steps.empty());
  placer.Flush();
  placer.PageFinished();
  placer.Place(2, 10);
  EXPECT_EQ(sink.steps, (Steps{"1@0", "2@0"}));
}

}  // namespace
}  // namespace rk
