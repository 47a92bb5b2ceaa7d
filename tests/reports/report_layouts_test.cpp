// The five report layouts of the Reports menu, opened from their stored
// definitions: every page's footer numbers its page, and long notes wrap under
// their record instead of running off the page.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "runtime/reports/report.h"
#include "runtime/reports/report_layout.h"
#include "runtime/windows/definition_open.h"
#include "tests/reports/report_test_support.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using namespace report_testing;

constexpr char kNote[] =
    "Taped from the late film season; the picture rolls twice near the start, the "
    "sound drops out for a minute in the second reel, and the tape ends with part "
    "of a weather forecast and the station's closing announcement.";

struct MenuReport {
  const char* tag;
  const char* label;
};

class ReportLayoutsTest : public ::testing::TestWithParam<MenuReport> {
 protected:
  void SetUp() override {
    testing::EnsureQtApplication();
    for (size_t i = 0; i < storage.size(); ++i) addresses[i] = storage[i].data();
    DefinitionFailure failure;
    definition = LoadDefinition(GetParam().tag, GetParam().label, addresses.data(), failure);
    ASSERT_TRUE(definition) << failure.context;
    for (auto& variable : storage) variable.fill(0);
    std::string error;
    ASSERT_TRUE(BuildReportLayout(*definition, layout, error)) << error;
  }

  // Every text-area variable the detail bands show holds the note; gives how
  // many there are.
  int FillNotes() {
    int filled = 0;
    for (const ReportDetail& detail : layout.details) {
      for (const ControlRecord& control : detail.record->controls) {
        if (!control.use || control.use->type != kTextArea) continue;
        auto* notes = static_cast<char*>(control.use->binding.address);
        std::memset(notes, ' ', control.use->size);
        std::memcpy(notes, kNote, std::min<size_t>(sizeof kNote - 1, control.use->size));
        ++filled;
      }
    }
    return filled;
  }

  // Prints every detail band of the report for `records` records.
  std::vector<std::vector<std::string>> PrintRecords(int records) {
    report.SetMetricsSource([](const platform::PrinterSetup&) { return LetterAt(600); });
    report.BindPreviewQueue(&pages.queue());
    report.Open(*definition);
    for (int r = 0; r < records; ++r) {
      for (size_t d = 1; d <= layout.details.size(); ++d) report.Print(static_cast<int32_t>(d));
    }
    report.EndPage();
    std::vector<std::vector<std::string>> texts;
    for (const std::string& page : pages.Names()) texts.push_back(JustTexts(page));
    return texts;
  }

  std::array<std::array<char, 1024>, 64> storage{};
  std::array<void*, 65> addresses{};
  std::optional<StructureRecord> definition;
  ReportLayout layout;
  PageFolder folder;
  PreviewQueue pages;
  Report report;
};

TEST_P(ReportLayoutsTest, EveryPageFooterNumbersItsPage) {
  auto texts = PrintRecords(60);
  ASSERT_GE(texts.size(), 3u);
  for (size_t page = 0; page < texts.size(); ++page) {
    std::string number = "Page " + std::to_string(page + 1);
    EXPECT_EQ(CountOf(texts[page], number), 1) << "page " << page + 1;
  }
  CheckWithIndependentReader({pages.Names().front()});
}

// The reports whose records have notes.
class ReportNotesTest : public ReportLayoutsTest {};

TEST_P(ReportNotesTest, ALongNoteWrapsOntoLinesUnderItsRecord) {
  ASSERT_GT(FillNotes(), 0);
  auto texts = PrintRecords(1);
  ASSERT_EQ(texts.size(), 1u);
  const std::vector<std::string>& page = texts[0];
  auto first = std::find_if(page.begin(), page.end(),
                            [](const std::string& t) { return t.rfind("Taped from", 0) == 0; });
  ASSERT_NE(first, page.end());
  std::string joined;
  int lines = 0;
  for (auto it = first; it != page.end() && joined.size() < sizeof kNote - 1; ++it, ++lines) {
    joined += (joined.empty() ? "" : " ") + *it;
  }
  EXPECT_EQ(joined, kNote);
  EXPECT_GE(lines, 3);
}

constexpr MenuReport kTapes{"REELBASE.qvw$reelb003", "PRINTHTA:SERIAL_NO$REPORT"};
constexpr MenuReport kTapesByDescription{"REELBASE.qvw$reelb004", "PRINTHTA:DESCRIPTION$REPORT"};
constexpr MenuReport kItems{"REELBASE.qvw$reelb007", "PRINTITE:SERIAL_NO$REPORT"};
constexpr MenuReport kVideos{"REELBASE.qvw$reelb016", "PRINTVID:SERIALN$REPORT"};
constexpr MenuReport kCast{"REELBASE.qvw$reelb019", "PRINTCAS:SERIALN$REPORT"};

INSTANTIATE_TEST_SUITE_P(FiveReports, ReportLayoutsTest,
                         ::testing::Values(kTapes, kTapesByDescription, kItems, kVideos, kCast));
INSTANTIATE_TEST_SUITE_P(WithNotes, ReportNotesTest,
                         ::testing::Values(kTapes, kTapesByDescription, kItems, kVideos));

}  // namespace
}  // namespace rk
