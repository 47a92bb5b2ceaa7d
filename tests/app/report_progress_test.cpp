// The progress window's percentage: truncated, shown again only when its whole
// number changes, and never past 100 when the file grows during the run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/report_progress.h"

namespace rk {
namespace {

TEST(ReportProgressTest, ThreeRecordsShowThirtyThreeSixtySixAndAHundred) {
  ReportProgress progress(3);
  std::vector<std::string> shown;
  for (int i = 0; i < 3; ++i) {
    if (progress.Count()) shown.push_back(progress.Text());
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{" 33% Completed", " 66% Completed", "100% Completed"}));
  EXPECT_EQ(*progress.percentage(), 100);
}

TEST(ReportProgressTest, UnchangedPercentageIsNotShownAgain) {
  ReportProgress progress(1000);
  int redraws = 0;
  for (int i = 0; i < 1000; ++i) redraws += progress.Count() ? 1 : 0;
  EXPECT_EQ(redraws, 100);
}

TEST(ReportProgressTest, RecordsAddedDuringTheRunKeepItAtAHundred) {
  ReportProgress progress(2);
  progress.Count();
  EXPECT_TRUE(progress.Count());
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(progress.Count());
  EXPECT_EQ(*progress.percentage(), 100);
  EXPECT_EQ(progress.processed(), 7);
}

TEST(ReportProgressTest, AFileCountedEmptyIsDoneAtItsFirstRecord) {
  ReportProgress progress(0);
  EXPECT_TRUE(progress.Count());
  EXPECT_EQ(*progress.percentage(), 100);
}

}  // namespace
}  // namespace rk
