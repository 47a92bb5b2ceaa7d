// Wrapped texts and page numbers in report bands, read back from the page files
// and from a PDF printed from them.
#include <gtest/gtest.h>

#include <regex>

#include "runtime/reports/report.h"
#include "runtime/reports/report_statements.h"
#include "runtime/windows/definition_flags.h"
#include "tests/reports/report_test_support.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using namespace report_testing;

constexpr char kNote[] =
    "Recorded off air over three evenings in the winter of the year the old "
    "transmitter closed; the second half has a faint hum, the last programme "
    "ends before its credits and a short documentary about lighthouses fills "
    "the remaining minutes of the tape without a break.";

class BandLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApplication();
    std::fill(std::begin(notes), std::end(notes), ' ');
    std::copy(std::begin(kNote), std::end(kNote) - 1, notes);
  }

  void OpenPreview(StructureRecord definition) {
    report.SetMetricsSource([](const platform::PrinterSetup&) { return LetterAt(600); });
    report.BindPreviewQueue(&pages.queue());
    report.Open(std::move(definition));
  }

  // The notes, wrapped in a control 3 inches wide at the band's top.
  ControlRecord WrappedNotes(int32_t width = 3000) {
    ControlRecord memo = Shown(notes, sizeof notes, 0, 0, "s1000");
    memo.use->type = kTextArea;
    memo.flags = control_flag::kWrap;
    memo.at = {0, 0, width, 200};
    return memo;
  }

  // Prints the previewed pages to a PDF, closes the report and gives its words with their boxes.
  std::string PrintedWordBoxes() {
    std::string pdf = (folder.path() / "layout.pdf").string();
    SetProperty(report, 0, report_property::kPrintToFile, "1");
    SetProperty(report, 0, report_property::kOutputFile, pdf);
    SetProperty(report, 0, report_property::kFlushPreview, "1");
    EXPECT_FALSE(report.Failed()) << report.FailureText();
    report.Close();  // ends the job: the PDF is complete
    return RunTool("pdftotext -bbox " + pdf + " -");
  }

  PageFolder folder;
  PreviewQueue pages;
  Report report;
  char notes[1000];
};

TEST_F(BandLayoutTest, ALongNoteWrapsOntoSeveralLinesInsideItsControl) {
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 300, {WrappedNotes()}),
                        Flowing(RecordKind::kDetail, 200, {Text("AFTER", 0, 0)})}));
  report.Print(1);
  report.Print(2);
  report.EndPage();
  ASSERT_EQ(report.PageFiles().size(), 1u);
  std::vector<PageText> texts = TextsOf(report.PageFiles()[0]);
  ASSERT_GE(texts.size(), 4u);
  std::string joined;
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    EXPECT_EQ(texts[i].x, 600) << texts[i].text;  // every line starts at the control's left
    if (i > 0) {
      EXPECT_GT(texts[i].y, texts[i - 1].y) << texts[i].text;
    }
    joined += (i > 0 ? " " : "") + texts[i].text;
  }
  EXPECT_EQ(joined, kNote);  // nothing lost, nothing repeated, words in order
  // The band grew: the next band starts below the note's last line.
  EXPECT_EQ(texts.back().text, "AFTER");
  EXPECT_GT(texts.back().y, texts[texts.size() - 2].y);

  // Printed, no word reaches past the control's right edge: 1 inch margin plus
  // 3 inches, in points, with a little room for rounding.
  std::string boxes = PrintedWordBoxes();
  std::regex word(R"re(<word xMin="([0-9.]+)" yMin="[0-9.]+" xMax="([0-9.]+)")re");
  int words = 0;
  for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word);
       it != std::sregex_iterator(); ++it) {
    ++words;
    EXPECT_GE(std::stod((*it)[1]), 72.0 - 1.0) << it->str();
    EXPECT_LE(std::stod((*it)[2]), 72.0 * 4 + 1.0) << it->str();
  }
  EXPECT_GT(words, 30) << boxes;
}

TEST_F(BandLayoutTest, AGrownBandThatDoesNotFitMovesWholeToTheNextPage) {
  // Area 1500: the first band takes 1000; the note's own height (300) would fit
  // below it, its wrapped height does not.
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 1000, {Text("FIRST", 0, 0)}),
                        Flowing(RecordKind::kDetail, 300, {WrappedNotes(2000)})},
                       1500));
  report.Print(1);
  report.Print(2);
  report.EndPage();
  ASSERT_EQ(report.PageFiles().size(), 2u);
  EXPECT_EQ(JustTexts(report.PageFiles()[0]), std::vector<std::string>{"FIRST"});
  std::vector<PageText> second = TextsOf(report.PageFiles()[1]);
  ASSERT_GT(second.size(), 3u);
  EXPECT_EQ(second[0].y, 1200);  // at the top of the detail area
  EXPECT_EQ(second[0].text.substr(0, 8), "Recorded");
}

TEST_F(BandLayoutTest, AnUnwrappedTextKeepsToItsControlsHeight) {
  ControlRecord memo = WrappedNotes();
  memo.flags = 0;
  OpenPreview(ReportOf({Flowing(RecordKind::kDetail, 300, {memo}),
                        Flowing(RecordKind::kDetail, 200, {Text("AFTER", 0, 0)})}));
  report.Print(1);
  report.Print(2);
  report.EndPage();
  std::vector<PageText> texts = TextsOf(report.PageFiles().at(0));
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, std::string(kNote));
  EXPECT_EQ(texts[1].y - texts[0].y, 300 * 600 / 1000);  // the band's own height
}

TEST_F(BandLayoutTest, EveryPageFooterCarriesItsOwnPageNumber) {
  ControlRecord number = Text("Page ", 0, 0, control_flag::kPageNumber);
  OpenPreview(ReportOf({Band(RecordKind::kFooter, {1000, 10500, 6000, 300}, {number}),
                        Flowing(RecordKind::kDetail, 5000, {Text("BAND", 0, 0)})}));
  for (int i = 0; i < 7; ++i) report.Print(1);
  report.EndPage();
  std::vector<std::string> files = report.PageFiles();
  ASSERT_EQ(files.size(), 7u);
  for (size_t page = 0; page < files.size(); ++page) {
    EXPECT_EQ(JustTexts(files[page]),
              (std::vector<std::string>{"Page " + std::to_string(page + 1), "BAND"}));
  }
  std::string boxes = PrintedWordBoxes();
  size_t at = 0;
  for (int page = 1; page <= 7; ++page) {
    std::string word = ">" + std::to_string(page) + "</word>";
    at = boxes.find(word, at);
    ASSERT_NE(at, std::string::npos) << "page " << page << " lacks its number:\n" << boxes;
  }
}

}  // namespace
}  // namespace rk
