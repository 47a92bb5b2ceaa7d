// An IMAGE control whose text names a report's page file shows that page:
// white paper with the page's ink, played to the control's size. A name that
// cannot be read leaves the control empty.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "runtime/platform/qt/widget_grab.h"
#include "runtime/reports/report.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"
#include "tests/reports/report_test_support.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

constexpr int32_t kImage = 1;

struct Ink {
  int dark = 0;     // pixels a page's text would leave
  int darkLow = 0;  // of those, below the image's top third
  int white = 0;    // paper
  int total = 0;
};

Ink InkOf(const QImage& grabbed) {
  QImage image = grabbed.convertToFormat(QImage::Format_RGB32);
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      int gray = qGray(image.pixel(x, y));
      if (gray < 128) ++ink.dark;
      if (gray < 128 && y >= image.height() / 3) ++ink.darkLow;
      if (gray == 255) ++ink.white;
      ++ink.total;
    }
  }
  return ink;
}

class PageImageTest : public WindowTest {
 protected:
  // One page with a large bold word at its top, rendered by the report engine
  // into a page file of the test's folder; the file lasts as long as the test.
  std::string WritePage() {
    StructureRecord definition = report_testing::ReportOf(
        {report_testing::Flowing(RecordKind::kDetail, 2000, {report_testing::Text("INK", 0, 0)})});
    definition.font->size = 72;
    definition.font->style = 700;
    definition.bands[0].controls[0].at = {0, 0, 6000, 1500};
    report_.SetMetricsSource(
        [](const platform::PrinterSetup&) { return report_testing::LetterAt(300); });
    report_.BindPreviewQueue(&pages_.queue());
    report_.Open(std::move(definition));
    report_.Print(1);
    report_.EndPage();
    std::vector<std::string> names = pages_.Names();
    EXPECT_EQ(names.size(), 1u);
    return names.empty() ? std::string() : names.front();
  }

  // Opens a window holding one image control, sets the control's text to
  // `name` and grabs the control before and after.
  void ShowOnImage(const std::string& name) {
    START(
        [this, name] {
          Window window;
          OpenTestWindow(
              window, WindowKind::kPlain,
              WindowDefinition({MakeControl(RecordKind::kImage, kImage, {4, 4, 120, 150})}));
          QWidget* widget = window.FindControl(kImage)->Widget();
          before_ = platform::GrabWidget(*widget);
          SetProperty(kImage, property::kText, name);
          named_ = GetProperty(kImage, property::kText);
          after_ = platform::GrabWidget(*widget);
          CloseWindow(window);
        },
        0);
    RunUntilIdle();
  }

  report_testing::PageFolder folder_;
  report_testing::PreviewQueue pages_;
  Report report_;  // deletes its page file when it goes
  QImage before_;
  QImage after_;
  std::string named_;
};

TEST_F(PageImageTest, APageFileNamedOnAnImageShowsThePageAndItsInk) {
  std::string page = WritePage();
  ASSERT_FALSE(page.empty());
  ShowOnImage(page);
  Ink before = InkOf(before_);
  Ink after = InkOf(after_);
  ASSERT_GT(after.total, 0);
  EXPECT_EQ(before.dark, 0) << "an image with no page is empty";
  EXPECT_EQ(named_, page);
  EXPECT_GT(after.white, after.total / 2) << "the page is not shown on white paper";
  EXPECT_GT(after.dark, 20) << "the page's word is not on the image";
  // The word is two inches down an eleven-inch page, one inch tall.
  EXPECT_EQ(after.darkLow, 0) << "the page is not played to the image's size";
}

TEST_F(PageImageTest, ANameThatIsNoPageFileLeavesTheImageEmpty) {
  std::string missing = (folder_.path() / "QVNmissing.wmf").string();
  ShowOnImage(missing);
  Ink after = InkOf(after_);
  EXPECT_EQ(after.dark, 0);
  EXPECT_EQ(after.white, 0);
  EXPECT_EQ(named_, "");
}

}  // namespace
}  // namespace rk
