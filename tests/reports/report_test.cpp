#include "runtime/reports/report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/core/error_state.h"
#include "runtime/core/halt.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/reports/report_statements.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/window.h"
#include "tests/reports/report_test_support.h"
#include "tests/support/halting_child.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using namespace report_testing;

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }

  // Opens `definition` in preview mode on letter paper at `dpi`.
  void OpenPreview(StructureRecord definition, int32_t dpi = 600) {
    report.SetMetricsSource([dpi](const platform::PrinterSetup&) { return LetterAt(dpi); });
    report.BindPreviewQueue(&pages.queue());
    report.Open(std::move(definition));
  }

  void SetValue(char* variable, size_t size, const std::string& value) {
    std::string padded = value;
    padded.resize(size, ' ');
    std::copy(padded.begin(), padded.end(), variable);
  }

  PageFolder folder;
  PreviewQueue pages;
  Report report;
};

TEST_F(ReportTest, ABandTallerThanTheDetailAreaPrintsAloneOnItsPage) {
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("SMALL", 0, 0)}),
                        Flowing(RecordKind::kDetail, 9000, {Text("TALL", 0, 0)})}));
  report.Print(1);
  report.Print(2);
  report.Print(1);
  report.Print(1);
  report.EndPage();
  std::vector<std::string> files = pages.Names();
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(JustTexts(files[0]), std::vector<std::string>{"SMALL"});
  EXPECT_EQ(JustTexts(files[1]), std::vector<std::string>{"TALL"});
  EXPECT_EQ(JustTexts(files[2]), (std::vector<std::string>{"SMALL", "SMALL"}));
  CheckWithIndependentReader(files);
}

TEST_F(ReportTest, PagesHoldTheirBandsAndEveryPageCarriesHeaderFooterAndForm) {
  StructureRecord definition =
      ReportOf({Band(RecordKind::kHeader, {1000, 1000, 6000, 500}, {Text("PAGE HEADER", 0, 0)}),
                Band(RecordKind::kFooter, {1000, 10500, 6000, 300}, {Text("PAGE FOOTER", 0, 0)}),
                Band(RecordKind::kForm, {0, 0, 8500, 11000}, {Text("FORM TEXT", 500, 500)}),
                Flowing(RecordKind::kDetail, 500, {Text("SMALL", 0, 0)}),
                Flowing(RecordKind::kDetail, 9000, {Text("TALL", 0, 0)})});
  OpenPreview(std::move(definition));
  report.Print(1);
  report.Print(2);
  report.Print(1);
  report.EndPage();
  std::vector<std::string> files = report.PageFiles();
  ASSERT_EQ(files.size(), 3u);
  std::vector<std::vector<std::string>> bands = {{"SMALL"}, {"TALL"}, {"SMALL"}};
  for (size_t page = 0; page < files.size(); ++page) {
    std::vector<std::string> texts = JustTexts(files[page]);
    EXPECT_EQ(CountOf(texts, "PAGE HEADER"), 1) << page;
    EXPECT_EQ(CountOf(texts, "PAGE FOOTER"), 1) << page;
    EXPECT_EQ(CountOf(texts, "FORM TEXT"), 1) << page;
    for (const std::string& band : bands[page]) EXPECT_EQ(CountOf(texts, band), 1) << page;
    EXPECT_EQ(texts.size(), 3 + bands[page].size()) << page;
  }
  // The first detail sits at the top of the detail area (2 inches at 600 dpi),
  // the header and footer at their own places.
  auto first = TextsOf(files[0]);
  auto find = [&](const std::string& text) {
    for (const PageText& t : first) {
      if (t.text == text) return t;
    }
    return PageText{};
  };
  EXPECT_EQ(find("SMALL").y, 1200);
  EXPECT_EQ(find("SMALL").x, 600);
  EXPECT_EQ(find("PAGE HEADER").y, 600);
  EXPECT_EQ(find("PAGE FOOTER").y, 6300);
  EXPECT_EQ(find("FORM TEXT").x, 300);
  CheckWithIndependentReader(files);
}

TEST_F(ReportTest, AGroupHeaderIsNeverLeftAloneAtTheFootOfAPage) {
  char group[8];
  SetValue(group, sizeof group, "A");
  char title[8];
  // Area 2000: group A takes 300 + 500 + 500; B's header (300) would fit, its
  // first detail would not.
  StructureRecord definition =
      ReportOf({Break(group, sizeof group,
                      {Flowing(RecordKind::kHeader, 300, {Shown(group, sizeof group, 0, 0, "s8")}),
                       Flowing(RecordKind::kDetail, 500, {Shown(title, sizeof title, 0, 0)})})},
               2000);
  OpenPreview(std::move(definition));
  for (const char* value : {"A", "A", "B", "B"}) {
    SetValue(group, sizeof group, value);
    SetValue(title, sizeof title, std::string("t") + value);
    report.Print(1);
  }
  report.EndPage();
  ASSERT_EQ(report.PageFiles().size(), 2u);
  EXPECT_EQ(JustTexts(report.PageFiles()[0]), (std::vector<std::string>{"A", "tA", "tA"}));
  EXPECT_EQ(JustTexts(report.PageFiles()[1]), (std::vector<std::string>{"B", "tB", "tB"}));
  CheckWithIndependentReader(report.PageFiles());
}

TEST_F(ReportTest, NestedBreaksPlaceHeadersAndFootersInTheFiveStepOrder) {
  char outer[4], inner[4], item[4];
  StructureRecord definition = ReportOf(
      {Break(outer, sizeof outer,
             {Flowing(RecordKind::kHeader, 200, {Text("OPEN OUTER", 0, 0)}),
              Flowing(RecordKind::kFooter, 200, {Text("CLOSE OUTER", 0, 0)}),
              Break(inner, sizeof inner,
                    {Flowing(RecordKind::kHeader, 200, {Text("OPEN INNER", 0, 0)}),
                     Flowing(RecordKind::kFooter, 200, {Text("CLOSE INNER", 0, 0)}),
                     Flowing(RecordKind::kDetail, 200, {Shown(item, sizeof item, 0, 0)})})})});
  OpenPreview(std::move(definition));
  struct Row {
    const char* outer;
    const char* inner;
    const char* item;
  };
  for (Row row : {Row{"A", "x", "1"}, Row{"A", "y", "2"}, Row{"B", "y", "3"}}) {
    SetValue(outer, sizeof outer, row.outer);
    SetValue(inner, sizeof inner, row.inner);
    SetValue(item, sizeof item, row.item);
    report.Print(1);
  }
  std::vector<std::string> expected = {
      "OPEN OUTER",  "OPEN INNER",  "1",          "CLOSE INNER", "OPEN INNER", "2",
      "CLOSE INNER", "CLOSE OUTER", "OPEN OUTER", "OPEN INNER",  "3"};
  report.EndPage();
  ASSERT_EQ(report.PageFiles().size(), 1u);
  EXPECT_EQ(JustTexts(report.PageFiles()[0]), expected);
}

TEST_F(ReportTest, VariablesPrintThroughTheirPicturesAndMemosLineByLine) {
  char serial[4];
  int32_t serialNumber = 42;
  char notes[1000];
  ControlRecord number = Shown(serial, sizeof serial, 0, 0, "n06");
  number.use->type = kLong;
  number.use->size = 4;
  number.use->binding.address = &serialNumber;
  ControlRecord memo = Shown(notes, sizeof notes, 0, 300, "s1000");  // wider than a picture
  memo.use->type = kTextArea;
  memo.at[3] = 500;  // room for three lines of 10 points
  ControlRecord right = Text("RIGHT", 0, 0, control_flag::kRight);
  right.at = {3000, 0, 3000, 200};
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 1000, {number, memo, right})}));
  SetValue(notes, sizeof notes, "first line\r\nsecond line\nthird line\nfourth line");
  report.Print(1);
  report.EndPage();
  auto texts = TextsOf(report.PageFiles().at(0));
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0].text, "000042");
  EXPECT_EQ(texts[1].text, "first line");
  EXPECT_EQ(texts[2].text, "second line");
  EXPECT_EQ(texts[3].text, "third line");  // the fourth does not fit the control
  EXPECT_GT(texts[2].y, texts[1].y);
  EXPECT_EQ(texts[4].text, "RIGHT");
  EXPECT_EQ(texts[4].x, 600 + 3600);  // aligned on the control's right edge
  CheckWithIndependentReader(report.PageFiles());
}

TEST_F(ReportTest, EachFinishedPageIsAFileNamedInTheQueueAsSoonAsItIsFinished) {
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 3000, {Text("BAND", 0, 0)})}));
  report.Print(1);
  report.Print(1);
  EXPECT_TRUE(pages.Names().empty());  // the page is not finished yet
  report.Print(1);                     // 9000 > 8000: the first page is finished
  ASSERT_EQ(pages.Names().size(), 1u);
  EXPECT_EQ(report.PagesFinished(), 1);
  EXPECT_EQ(report.PageNumber(), 2);
  report.EndPage();
  report.EndPage();  // nothing on the page: no empty page file
  std::vector<std::string> names = pages.Names();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names, report.PageFiles());
  for (const std::string& name : names) {
    std::filesystem::path path(name);
    EXPECT_EQ(path.parent_path(), folder.path());
    EXPECT_EQ(path.filename().string().rfind("QVN", 0), 0u) << name;
    EXPECT_TRUE(std::filesystem::exists(path));
  }
  EXPECT_EQ(JustTexts(names[0]), (std::vector<std::string>{"BAND", "BAND"}));
  CheckWithIndependentReader(names);
  report.Close();
  for (const std::string& name : names) EXPECT_FALSE(std::filesystem::exists(name)) << name;
  EXPECT_EQ(pages.Names().size(), 2u);  // the queue is the procedure's; its names stay
  EXPECT_TRUE(folder.PageFiles().empty());
}

TEST_F(ReportTest, ThePageFileHeaderFollowsThePrintersResolution) {
  std::vector<uint16_t> checksums;
  for (int32_t dpi : {600, 300}) {
    Report one;
    PreviewQueue queue;
    one.SetMetricsSource([dpi](const platform::PrinterSetup&) { return LetterAt(dpi); });
    one.BindPreviewQueue(&queue.queue());
    one.Open(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("X", 0, 0)})}));
    one.Print(1);
    one.EndPage();
    std::string error;
    auto bytes = platform::ReadWholeFile(one.PageFiles().at(0), error);
    ASSERT_TRUE(bytes) << error;
    EXPECT_EQ(platform::Word(*bytes, 10), dpi * 17 / 2);
    EXPECT_EQ(platform::Word(*bytes, 12), dpi * 11);
    EXPECT_EQ(platform::Word(*bytes, 14), dpi);
    checksums.push_back(platform::Word(*bytes, 20));
    CheckWithIndependentReader(one.PageFiles());
    EXPECT_EQ(checksums.back(), 0x5711 ^ (dpi * 17 / 2) ^ (dpi * 11) ^ dpi);
  }
  EXPECT_NE(checksums[0], checksums[1]);
}

TEST_F(ReportTest, AnUnwritableTemporaryFolderGivesAClearErrorAndLeavesNothing) {
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("X", 0, 0)})}));
  report.Print(1);
  report.EndPage();
  ASSERT_EQ(report.PageFiles().size(), 1u);
  CheckWithIndependentReader(report.PageFiles());
  // A regular file where the folder should be.
  std::string notAFolder = (folder.path() / "plain-file").string();
  std::ofstream(notAFolder) << "x";
  setenv("TMPDIR", notAFolder.c_str(), 1);
  report.Print(1);
  report.EndPage();
  EXPECT_NE(ErrorCode(), 0);
  EXPECT_EQ(ErrorName(), notAFolder);
  EXPECT_TRUE(report.Failed());
  EXPECT_NE(report.FailureText().find(notAFolder), std::string::npos) << report.FailureText();
  EXPECT_EQ(pages.Names().size(), 1u);  // the failed page is not named
  report.Print(1);                      // a failed report prints nothing more
  report.EndPage();
  EXPECT_EQ(pages.Names().size(), 1u);
  report.Close();
  EXPECT_TRUE(folder.PageFiles().empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(notAFolder));
}

TEST_F(ReportTest, PrintingToAPdfFileGivesEveryTitleInOrderAndEmptiesTheQueue) {
  char title[40];
  OpenPreview(
      ReportOf({Band(RecordKind::kHeader, {1000, 1000, 6000, 500}, {Text("TITLES REPORT", 0, 0)}),
                Flowing(RecordKind::kDetail, 1500, {Shown(title, sizeof title, 0, 0)})}));
  std::vector<std::string> titles;
  for (int i = 1; i <= 12; ++i) {
    titles.push_back("Tape title number " + std::to_string(i));
    SetValue(title, sizeof title, titles.back());
    report.Print(1);
  }
  report.EndPage();
  ASSERT_EQ(pages.Names().size(), 3u);
  CheckWithIndependentReader(pages.Names());
  std::string pdf = (folder.path() / "report.pdf").string();
  SetProperty(report, 0, report_property::kPrintToFile, "1");
  SetProperty(report, 0, report_property::kOutputFile, pdf);
  SetProperty(report, 0, report_property::kFlushPreview, "1");
  EXPECT_FALSE(report.Failed()) << report.FailureText();
  EXPECT_TRUE(pages.Names().empty());
  EXPECT_EQ(GetProperty(report, 0, report_property::kFlushPreview), "1");
  report.Close();
  std::string text = RunTool("pdftotext " + pdf + " -");
  size_t at = 0;
  for (const std::string& expected : titles) {
    size_t found = text.find(expected + "\n", at);
    ASSERT_NE(found, std::string::npos) << expected << " missing after offset " << at << ":\n"
                                        << text;
    at = found + expected.size();
  }
  std::string info = RunTool("pdfinfo " + pdf);
  EXPECT_NE(info.find("Pages:"), std::string::npos) << info;
  EXPECT_NE(info.find(" 3\n", info.find("Pages:")), std::string::npos) << info;
}

TEST_F(ReportTest, OnlyThePagesStillNamedInTheQueuePrint) {
  char title[12];
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 8000, {Shown(title, sizeof title, 0, 0)})}));
  for (const char* name : {"FIRST", "SECOND", "THIRD"}) {
    SetValue(title, sizeof title, name);
    report.Print(1);
  }
  report.EndPage();
  CheckWithIndependentReader(pages.Names());
  GET(pages.queue(), 2);
  DELETE(pages.queue());
  std::string pdf = (folder.path() / "two.pdf").string();
  report.Printer().toFile = true;
  report.Printer().outputFile = pdf;
  report.SetFlushPreview(true);
  report.Close();
  std::string text = RunTool("pdftotext " + pdf + " -");
  EXPECT_NE(text.find("FIRST"), std::string::npos) << text;
  EXPECT_EQ(text.find("SECOND"), std::string::npos) << text;
  EXPECT_NE(text.find("THIRD"), std::string::npos) << text;
}

TEST_F(ReportTest, WithoutPreviewPagesGoStraightToTheJobAndNoFileIsLeft) {
  char title[12];
  report.SetMetricsSource([](const platform::PrinterSetup&) { return LetterAt(600); });
  report.Open(ReportOf({Flowing(RecordKind::kDetail, 5000, {Shown(title, sizeof title, 0, 0)})}));
  std::string pdf = (folder.path() / "direct.pdf").string();
  report.Printer().toFile = true;
  report.Printer().outputFile = pdf;
  for (const char* name : {"ONE", "TWO", "THREE"}) {
    SetValue(title, sizeof title, name);
    report.Print(1);
  }
  EXPECT_TRUE(report.PageFiles().empty());
  report.Close();
  EXPECT_FALSE(report.Failed()) << report.FailureText();
  std::string text = RunTool("pdftotext " + pdf + " -");
  EXPECT_LT(text.find("ONE"), text.find("TWO")) << text;
  EXPECT_LT(text.find("TWO"), text.find("THREE")) << text;
  EXPECT_NE(text.find("THREE"), std::string::npos) << text;
  EXPECT_TRUE(folder.PageFiles().empty());
}

TEST_F(ReportTest, AFileChosenInThePrintDialogIsWhereTheReportPrints) {
  std::string pdf = (folder.path() / "chosen.pdf").string();
  platform::SharedPrinter().setOutputFileName(QString::fromStdString(pdf));
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("CHOSEN FILE", 0, 0)})}));
  platform::SharedPrinter().setOutputFileName({});
  EXPECT_TRUE(report.Printer().toFile);
  EXPECT_EQ(report.Printer().outputFile, pdf);
  report.Print(1);
  report.EndPage();
  report.SetFlushPreview(true);
  report.Close();
  EXPECT_NE(RunTool("pdftotext " + pdf + " -").find("CHOSEN FILE"), std::string::npos);
}

TEST_F(ReportTest, WithoutItsPrinterAReportPreviewsAndThePrintFailsCleanly) {
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("X", 0, 0)})}));
  report.Printer().printer = "No Such Printer";
  report.Print(1);
  report.EndPage();
  ASSERT_EQ(pages.Names().size(), 1u);
  report.SetFlushPreview(true);
  EXPECT_TRUE(report.Failed());
  EXPECT_NE(report.FailureText().find("not installed"), std::string::npos) << report.FailureText();
  EXPECT_TRUE(pages.Names().empty());
  report.Close();
  EXPECT_TRUE(folder.PageFiles().empty());
}

TEST_F(ReportTest, ClosingAfterAFailureStillDeletesThePageFiles) {
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("X", 0, 0)})}));
  report.Print(1);
  report.EndPage();
  report.Printer().printer = "No Such Printer";
  report.SetFlushPreview(true);
  ASSERT_TRUE(report.Failed());
  report.Close();
  EXPECT_TRUE(folder.PageFiles().empty());
}

using ReportDeathTest = ReportTest;

TEST_F(ReportDeathTest, MisusedStatementsRaiseTheirRuntimeErrors) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testing::ChildrenSkipLeakCheck noLeakCheck;
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("X", 0, 0)})}));
  EXPECT_EXIT(report.Print(2), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "PRINT must only be called for reports");
  EXPECT_EXIT(report.Print(0), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "PRINT must only be called for reports");
  EXPECT_EXIT(report.Open(ReportOf({})), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "Report is already open");
  EXPECT_EXIT(POST(report, 1, 1), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "Event posted to a report control");
  Window window;
  EXPECT_EXIT(PRINT(window, 1), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "PRINT must only be called for reports");
  EXPECT_EXIT(ENDPAGE(window), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "ENDPAGE must only be called for reports");
}

TEST_F(ReportDeathTest, ARecordTooLargeForAPageRaises523) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testing::ChildrenSkipLeakCheck noLeakCheck;
  ControlRecord huge = Text("short", 0, 0);
  huge.number = 7;
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {huge})}));
  report.Print(1);  // a text of 5 characters fits
  report.SetControlText(7, std::string(0xFFFF, 'x'));
  EXPECT_EXIT(report.Print(1), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "Metafile record too large in report");
}

TEST_F(ReportDeathTest, APrinterThatGivesNoPageRaises524) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testing::ChildrenSkipLeakCheck noLeakCheck;
  Report broken;
  broken.SetMetricsSource([](const platform::PrinterSetup&) { return platform::PageMetrics{}; });
  EXPECT_EXIT(broken.Open(ReportOf({})), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "Unexpected error opening printer device");
}

TEST_F(ReportDeathTest, HaltClosesOpenReportsAndTheirPageFilesGo) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testing::ChildrenSkipLeakCheck noLeakCheck;
  auto renderThenHalt = [this] {
    OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 500, {Text("X", 0, 0)})}));
    report.Print(1);
    report.EndPage();
    if (folder.PageFiles().size() != 1) std::_Exit(3);  // the page file was written
    Halt(0);
  };
  EXPECT_EXIT(renderThenHalt(), ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(folder.PageFiles().empty());
}

}  // namespace
}  // namespace rk
