// The application's four reports with one break each, opened from their stored
// definitions: the break's header prints once per tape, before its first item.
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

struct OneBreakReport {
  const char* tag;
  const char* label;
};

class AppReportsTest : public ::testing::TestWithParam<OneBreakReport> {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }
  // Room for every variable a report binds; unused addresses are ignored.
  std::array<std::array<char, 1024>, 64> storage{};
  std::array<void*, 65> addresses{};
};

TEST_P(AppReportsTest, TheBreakHeaderPrintsOncePerTapeBeforeItsItems) {
  for (size_t i = 0; i < storage.size(); ++i) addresses[i] = storage[i].data();
  DefinitionFailure failure;
  auto definition = LoadDefinition(GetParam().tag, GetParam().label, addresses.data(), failure);
  ASSERT_TRUE(definition) << failure.context;
  for (auto& variable : storage) variable.fill(0);

  ReportLayout layout;
  std::string error;
  ASSERT_TRUE(BuildReportLayout(*definition, layout, error)) << error;
  ASSERT_EQ(layout.breaks.size(), 1u);
  ASSERT_NE(layout.breaks[0].header, nullptr);
  int32_t inBreak = 0;
  for (size_t d = 0; d < layout.details.size(); ++d) {
    if (layout.details[d].enclosing == 0) inBreak = static_cast<int32_t>(d) + 1;
  }
  ASSERT_NE(inBreak, 0);
  const DataDescriptor& breakUse = *layout.breaks[0].record->use;
  auto* tape = static_cast<char*>(breakUse.binding.address);
  ASSERT_NE(tape, nullptr);

  PageFolder folder;
  PreviewQueue pages;
  Report report;
  report.SetMetricsSource([](const platform::PrinterSetup&) { return LetterAt(600); });
  report.BindPreviewQueue(&pages.queue());
  report.Open(*definition);
  // Tape 1 with two items, tape 2 with one, tape 1 again with one.
  for (int16_t serial : {1, 1, 2, 1}) {
    std::memcpy(tape, &serial, sizeof serial);
    report.Print(inBreak);
  }
  report.EndPage();
  CheckWithIndependentReader(pages.Names());
  std::vector<std::string> texts;
  for (const std::string& page : pages.Names()) {
    for (const std::string& text : JustTexts(page)) texts.push_back(text);
  }
  std::vector<std::string> order;
  for (const std::string& text : texts) {
    if (text == "COMPILATION TITLE" || text == "TITLE") order.push_back(text);
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{"COMPILATION TITLE", "TITLE", "TITLE", "COMPILATION TITLE",
                                      "TITLE", "COMPILATION TITLE", "TITLE"}));
  report.Close();
  EXPECT_TRUE(folder.PageFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    FourReports, AppReportsTest,
    ::testing::Values(OneBreakReport{"REELBASE.qvw$reelb007", "PRINTITE:SERIAL_NO$REPORT"},
                      OneBreakReport{"REELBASE.qvw$reelb008", "PRINTITE:DATE_KEY$REPORT"},
                      OneBreakReport{"REELBASE.qvw$reelb009", "PRINTITE:TITLE$REPORT"},
                      OneBreakReport{"REELBASE.qvw$reelb010", "PRINTITE:SUBJECTS$REPORT"}));

}  // namespace
}  // namespace rk
