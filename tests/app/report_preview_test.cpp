// The reports as a person runs them: chosen from the Reports menu, read on the
// progress window's timer, shown in the preview (paged, facing, zoomed, jumped)
// and printed to a PDF or cancelled; the page files are gone afterwards.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/collection_files.h"
#include "app/report_procedure.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/qt/painted_controls.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/platform/qt/status_zones.h"
#include "runtime/platform/qt/widget_grab.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_menu_items.h"
#include "tests/app/browse_fixture.h"
#include "tests/reports/report_test_support.h"

namespace rk::testing {
namespace {

constexpr int32_t kTapeReportItem = -19;
constexpr int32_t kItemReportItem = -22;
constexpr int32_t kCastReportItem = -26;
constexpr int32_t kThread = 2;
constexpr const char* kPreview = "Print Preview";

constexpr int32_t kLeftImage = 9;
constexpr int32_t kLeftRegion = 10;
constexpr int32_t kRightImage = 12;
constexpr int32_t kCentreImage = 15;
constexpr int32_t kZoomImage = 17;

constexpr int32_t kPercentText = 3;
constexpr int32_t kCancelButton = 4;

class ReportPreviewTest : public BrowseTest {
 protected:
  void TearDown() override {
    SetDriverFault({});
    SetDriverCallWatch({});
    SetReportPreviewCall({});
    platform::SharedPrinter().setOutputFileName({});
    BrowseTest::TearDown();
  }

  Window* OpenPreview(int32_t menuItem) {
    StartProgram();
    Choose(menuItem);
    return WindowTitled(kThread, kPreview);
  }
  QAction* Item(const QString& text) {
    Window* window = CurrentWindowOf(kThread);
    if (!window || !window->shell) return nullptr;
    auto* bar = window->shell->Client()->findChild<QMenuBar*>();
    if (!bar) return nullptr;
    for (QAction* action : bar->actions()) {
      if (action->text() == text) return action;
    }
    return nullptr;
  }
  void Use(const QString& text) {
    QAction* action = Item(text);
    ASSERT_NE(action, nullptr) << text.toStdString();
    action->trigger();
    drive::RunUntil([] { return false; }, 50);
  }
  std::string Zone(int zone) {
    Window* window = CurrentWindowOf(kThread);
    platform::StatusZones* zones = window ? StatusZonesOf(*window) : nullptr;
    return zones ? zones->Text(zone).toStdString() : "(no zones)";
  }
  // The page file an image shows; empty while the image is hidden.
  std::string Shown(int32_t image) {
    auto* widget = dynamic_cast<platform::ImageWidget*>(ControlWidget(kThread, image));
    if (!widget || widget->isHidden()) return {};
    return widget->PageFile();
  }
  void WaitForReportToEnd() {
    ASSERT_TRUE(drive::RunUntil([] { return UsedSlots() == 1; }));
  }
  // Each page's texts, taken while the preview would show them; the preview
  // answers cancel.
  void CollectPreviewedPages(std::vector<std::vector<std::string>>& pages) {
    SetReportPreviewCall([&pages](QueueDescriptor& queue) {
      for (int32_t i = 1; i <= RECORDS(queue); ++i) {
        GET(queue, i);
        std::string name(reinterpret_cast<const char*>(queue.buffer), queue.recordLength);
        name.erase(name.find_last_not_of(' ') + 1);
        pages.push_back(report_testing::JustTexts(name));
      }
    });
  }
  std::vector<std::vector<std::string>> CapturePages(int32_t menuItem) {
    std::vector<std::vector<std::string>> pages;
    CollectPreviewedPages(pages);
    StartProgram();
    Choose(menuItem);
    WaitForReportToEnd();
    return pages;
  }
  // The progress window's percentage text as its label shows it.
  std::string PercentShown() {
    auto* label = dynamic_cast<QLabel*>(ControlWidget(kThread, kPercentText));
    return label ? label->text().toStdString() : "(no label)";
  }
  // Calls `act` on the run's thread each time the report reads the next tape,
  // before the read: between two reads the window shows the first one's figure.
  void BeforeEachTapeRead(std::function<void()> act) {
    SetDriverFault([act = std::move(act)](int32_t code, const FileDescriptor& file) {
      if (code == kOpNext && &file == &HTAPES()) act();
      return 0;
    });
  }
  // Clicks the progress window's Cancel just before the second read, within
  // the first batch; `reads` counts the reads of the tapes file.
  void PressCancelAtTheSecondRead(int& reads) {
    BeforeEachTapeRead([this, &reads] {
      if (++reads != 2) return;
      auto* cancel = dynamic_cast<QPushButton*>(ControlWidget(kThread, kCancelButton));
      ASSERT_NE(cancel, nullptr);
      cancel->click();
    });
  }
  // From here on, what the run asks of the tapes file: each SEND's option and
  // "NEXT" for each read, in order.
  void WatchTheTapesFile(std::vector<std::string>& calls) {
    SetDriverCallWatch([&calls](int32_t code, const FileDescriptor& file, const std::string& text) {
      if (&file != &HTAPES()) return;
      if (code == kOpSend) calls.push_back(text);
      if (code == kOpNext) calls.push_back("NEXT");
    });
  }
  std::string PdfText(const std::string& pdf) {
    QProcess process;
    process.start("pdftotext", {QString::fromStdString(pdf), "-"});
    EXPECT_TRUE(process.waitForFinished(30000));
    return process.readAllStandardOutput().toStdString();
  }

  report_testing::PageFolder pageFolder_;
};

// Five tapes fill three pages (two tapes to a page).
constexpr int kThreePagesOfTapes = 5;

TEST_F(ReportPreviewTest, AOnePageReportDisablesFacingPreviousAndNext) {
  AddTapes(1);
  ASSERT_NE(OpenPreview(kTapeReportItem), nullptr);
  EXPECT_EQ(Zone(3), "Single Page");
  EXPECT_EQ(Zone(4), "Page 1 of 1");
  for (const char* text : {"&Facing Pages!", "&Previous Page!", "&Next Page!"}) {
    ASSERT_NE(Item(text), nullptr) << text;
    EXPECT_FALSE(Item(text)->isEnabled()) << text;
  }
  EXPECT_TRUE(Item("&Zoom In!")->isEnabled());
  EXPECT_NE(Shown(kCentreImage), "");
  EXPECT_EQ(Shown(kLeftImage), "");
  EXPECT_EQ(Shown(kRightImage), "");
  Use("&Cancel!");
  WaitForReportToEnd();
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

TEST_F(ReportPreviewTest, TheWholePageShowsBetweenTheMenuBarAndTheStatusBar) {
  AddTapes(1);
  Window* preview = OpenPreview(kTapeReportItem);
  ASSERT_NE(preview, nullptr);
  QWidget* client = preview->shell->Client();
  QWidget* image = ControlWidget(kThread, kCentreImage);
  ASSERT_NE(image, nullptr);
  QRect page = image->geometry();
  EXPECT_TRUE(client->rect().contains(page));
  for (QWidget* bar : {static_cast<QWidget*>(client->findChild<QMenuBar*>()),
                       static_cast<QWidget*>(client->findChild<QStatusBar*>())}) {
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->geometry().intersects(page)) << bar->metaObject()->className();
  }
  // Grabbed, the foot of the page shows its footer: rule and text, drawn small
  // and smoothed, on the white page in the lowest eighth of the image.
  QImage shot = platform::GrabWidget(*client).convertToFormat(QImage::Format_RGB32);
  double scale = shot.width() / static_cast<double>(client->width());
  int dark = 0;
  for (int y = page.top() + page.height() * 7 / 8; y < page.bottom(); ++y) {
    for (int x = page.left(); x < page.right(); ++x) {
      if (qGray(shot.pixel(int(x * scale), int(y * scale))) < 200) ++dark;
    }
  }
  EXPECT_GT(dark, 20) << "the page's last lines are not on screen";
  Use("&Cancel!");
  WaitForReportToEnd();
}

TEST_F(ReportPreviewTest, FacingPagesShowPageOneAloneThenTwoAndThree) {
  AddTapes(kThreePagesOfTapes);
  ASSERT_NE(OpenPreview(kTapeReportItem), nullptr);
  ASSERT_EQ(Zone(4), "Page 1 of 3");
  std::string first = Shown(kCentreImage);
  Use("&Next Page!");
  std::string second = Shown(kCentreImage);
  Use("&Next Page!");
  std::string third = Shown(kCentreImage);
  EXPECT_FALSE(Item("&Next Page!")->isEnabled());
  Use("&Jump!");
  ASSERT_NE(WindowTitled(kThread, "Jump to a Report Page"), nullptr);
  auto* spin = dynamic_cast<QSpinBox*>(ControlWidget(kThread, 2));
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->maximum(), 3);
  Fill(kThread, 2, "1");
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, kPreview), nullptr);
  EXPECT_EQ(Zone(4), "Page 1 of 3");
  EXPECT_EQ(Shown(kCentreImage), first);

  Use("&Facing Pages!");
  EXPECT_EQ(Zone(3), "Facing Pages");
  EXPECT_EQ(Zone(4), "Page 1 of 3");
  EXPECT_EQ(Shown(kLeftImage), "");
  EXPECT_EQ(Shown(kRightImage), first);
  EXPECT_EQ(Shown(kCentreImage), "");
  ASSERT_NE(Item("&Single Pages!"), nullptr);
  EXPECT_EQ(Item("&Single Pages!")->statusTip().toStdString(),
            "View the report one page at a time");
  Use("&Next Page!");
  EXPECT_EQ(Zone(4), "Pages 2 and 3 of 3");
  EXPECT_EQ(Shown(kLeftImage), second);
  EXPECT_EQ(Shown(kRightImage), third);
  EXPECT_FALSE(Item("&Next Page!")->isEnabled());
  EXPECT_TRUE(Item("&Previous Page!")->isEnabled());
  Use("&Single Pages!");
  EXPECT_EQ(Zone(4), "Page 3 of 3");
  Use("&Cancel!");
  WaitForReportToEnd();
}

TEST_F(ReportPreviewTest, ZoomingFromFacingPagesReturnsToTheSamePages) {
  AddTapes(kThreePagesOfTapes);
  ASSERT_NE(OpenPreview(kTapeReportItem), nullptr);
  Use("&Facing Pages!");
  Use("&Next Page!");
  ASSERT_EQ(Zone(4), "Pages 2 and 3 of 3");
  std::string third = Shown(kRightImage);
  Use("&Zoom In!");
  EXPECT_EQ(Zone(2), "ZOOM");
  EXPECT_EQ(Zone(4), "Page 3 of 3");
  EXPECT_EQ(Shown(kZoomImage), third);
  EXPECT_EQ(Shown(kRightImage), "");
  ASSERT_NE(Item("&Zoom Out!"), nullptr);
  EXPECT_EQ(Item("&Zoom Out!")->statusTip().toStdString(), "Zoom out to facing page mode");
  EXPECT_FALSE(Item("&Facing Pages!") ? Item("&Facing Pages!")->isEnabled()
                                      : Item("&Single Pages!")->isEnabled());
  Use("&Zoom Out!");
  EXPECT_EQ(Zone(2), "");
  EXPECT_EQ(Zone(3), "Facing Pages");
  EXPECT_EQ(Zone(4), "Pages 2 and 3 of 3");
  EXPECT_EQ(Shown(kZoomImage), "");
  EXPECT_EQ(Item("&Zoom In!")->statusTip().toStdString(), "Zoom in on a page of this report");

  // A click on the left page zooms that page.
  auto* region = ControlWidget(kThread, kLeftRegion);
  ASSERT_NE(region, nullptr);
  QPoint centre = region->rect().center();
  QMouseEvent press(QEvent::MouseButtonPress, centre, region->mapToGlobal(centre), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(region, &press);
  drive::RunUntil([] { return false; }, 50);
  EXPECT_EQ(Zone(4), "Page 2 of 3");
  EXPECT_EQ(Zone(2), "ZOOM");
  Use("&Cancel!");
  WaitForReportToEnd();
}

TEST_F(ReportPreviewTest, TheCloseBoxCancelsThePrinting) {
  AddTapes(1);
  std::string pdf = (folder_ / "closed.pdf").string();
  platform::SharedPrinter().setOutputFileName(QString::fromStdString(pdf));
  Window* preview = OpenPreview(kTapeReportItem);
  ASSERT_NE(preview, nullptr);
  preview->shell->Outer()->close();
  WaitForReportToEnd();
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

TEST_F(ReportPreviewTest, PrintWritesEveryTapeInKeyOrderToThePdf) {
  // Stored out of title order; the report runs in serial order.
  const std::vector<std::string> titles = {"OPERA NIGHT", "CUP FINAL", "ZOO QUEST", "BIRD SONG",
                                           "MOON LANDING"};
  AddTapes(static_cast<int>(titles.size()), [&](int n) { return titles[n - 1]; });
  std::string pdf = (folder_ / "tapes.pdf").string();
  platform::SharedPrinter().setOutputFileName(QString::fromStdString(pdf));
  ASSERT_NE(OpenPreview(kTapeReportItem), nullptr);
  Use("&Print!");
  ASSERT_TRUE(drive::RunUntil([] { return drive::AnswerPrintDialog(true); }));
  WaitForReportToEnd();
  std::string text = PdfText(pdf);
  size_t at = 0;
  for (const std::string& title : titles) {
    size_t found = text.find(title, at);
    EXPECT_NE(found, std::string::npos) << title << " missing or out of order";
    if (found != std::string::npos) at = found;
  }
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

TEST_F(ReportPreviewTest, ThePrinterChosenAfterThePreviewOpenedGetsThePages) {
  AddTapes(kThreePagesOfTapes);
  ASSERT_NE(OpenPreview(kTapeReportItem), nullptr);
  // Chosen while the preview is up, as the print dialog's "Print To File" does.
  std::string pdf = (folder_ / "chosen late.pdf").string();
  platform::SharedPrinter().setOutputFileName(QString::fromStdString(pdf));
  Use("&Print!");
  ASSERT_TRUE(drive::RunUntil([] { return drive::AnswerPrintDialog(true); }));
  WaitForReportToEnd();
  std::string text = PdfText(pdf);
  for (int n = 1; n <= kThreePagesOfTapes; ++n) {
    std::string title = "TAPE 00" + std::to_string(n);
    EXPECT_NE(text.find(title), std::string::npos) << title << " not printed:\n" << text;
  }
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

TEST_F(ReportPreviewTest, CancellingThePrintDialogGoesBackToTheSamePages) {
  AddTapes(kThreePagesOfTapes);
  std::string pdf = (folder_ / "never.pdf").string();
  platform::SharedPrinter().setOutputFileName(QString::fromStdString(pdf));
  ASSERT_NE(OpenPreview(kTapeReportItem), nullptr);
  Use("&Next Page!");
  ASSERT_EQ(Zone(4), "Page 2 of 3");
  auto sortedFiles = [this] {
    std::vector<std::string> files = pageFolder_.PageFiles();
    std::sort(files.begin(), files.end());
    return files;
  };
  std::vector<std::string> files = sortedFiles();
  ASSERT_EQ(files.size(), 3u);
  Use("&Print!");
  ASSERT_TRUE(drive::RunUntil([] { return drive::AnswerPrintDialog(false); }));
  ASSERT_TRUE(drive::RunUntil([this] { return WindowTitled(kThread, kPreview) != nullptr; }));
  drive::RunUntil([] { return false; }, 50);
  EXPECT_EQ(Zone(4), "Page 1 of 3");  // the preview again, from its first page
  EXPECT_EQ(sortedFiles(), files);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  Use("&Cancel!");
  WaitForReportToEnd();
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

TEST_F(ReportPreviewTest, AnItemWhoseTapeIsGonePrintsUnderABlankHeading) {
  AddTapes(1);
  AddItems(1, 1);
  AddItems(2, 1);  // no tape 2
  auto pages = CapturePages(kItemReportItem);
  std::vector<std::string> texts;
  for (const auto& page : pages) texts.insert(texts.end(), page.begin(), page.end());
  auto heading = [&](size_t from) {
    return std::find(texts.begin() + static_cast<long>(from), texts.end(), "COMPILATION TITLE");
  };
  auto firstHeading = heading(0);
  ASSERT_NE(firstHeading, texts.end());
  auto secondHeading = heading(static_cast<size_t>(firstHeading - texts.begin()) + 1);
  ASSERT_NE(secondHeading, texts.end());
  auto firstItem = std::find(texts.begin(), texts.end(), "ITEM 1.1");
  auto orphan = std::find(texts.begin(), texts.end(), "ITEM 2.1");
  ASSERT_NE(orphan, texts.end());
  EXPECT_NE(std::find(firstHeading, firstItem, "TAPE 001"), firstItem);
  EXPECT_EQ(std::find(secondHeading, orphan, "TAPE 001"), orphan);
  EXPECT_LT(firstItem, secondHeading);
}

TEST_F(ReportPreviewTest, TheCastReportListsEachVideosPerformersInOrder) {
  AddRecords(CollectionFileId::kVideos, 2, [](DeclaredFile& videos, int n) {
    videos.setLong("VID:SERIAL", n);
    videos.setText("VID:TITLE", n == 1 ? "FIRST FILM" : "SECOND FILM");
  });
  const char* performers[] = {"ANNA", "BERT", "CARL"};
  AddRecords(CollectionFileId::kCast, 3, [&](DeclaredFile& cast, int n) {
    cast.setLong("CAS:SERIAL", n == 3 ? 2 : 1);
    cast.setText("CAS:PERFORMER", performers[n - 1]);
  });
  auto pages = CapturePages(kCastReportItem);
  std::vector<std::string> seen;
  for (const auto& page : pages) {
    for (const std::string& text : page) {
      if (text == "ANNA" || text == "BERT" || text == "CARL" || text == "FIRST FILM" ||
          text == "SECOND FILM") {
        seen.push_back(text);
      }
    }
  }
  // The film's title prints on every cast line.
  EXPECT_EQ(seen, (std::vector<std::string>{"FIRST FILM", "ANNA", "FIRST FILM", "BERT",
                                            "SECOND FILM", "CARL"}));
}

TEST_F(ReportPreviewTest, AnEmptyFileShowsNoPreview) {
  int previews = 0;
  SetReportPreviewCall([&previews](QueueDescriptor&) { ++previews; });
  AddTapes(0);
  StartProgram();
  Choose(kTapeReportItem);
  WaitForReportToEnd();
  EXPECT_EQ(previews, 0);
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

// Read between the reads: nothing yet before the first record, then a third
// more with each of the three, the figure through its picture.
TEST_F(ReportPreviewTest, TheProgressWindowShowsEachThirdOfThreeRecords) {
  AddTapes(3);
  SetReportPreviewCall([](QueueDescriptor&) {});
  StartProgram();
  std::vector<std::string> shown;
  BeforeEachTapeRead([&] { shown.push_back(PercentShown()); });
  Choose(kTapeReportItem);
  WaitForReportToEnd();
  EXPECT_EQ(shown, (std::vector<std::string>{"  0% Completed", " 33% Completed", " 66% Completed",
                                             "100% Completed"}));
}

// Cancel pressed while the first batch is read: the click waits for the batch
// to end, at most one timer event already queued reads another, and then the
// run stops short with no preview and no page left behind.
TEST_F(ReportPreviewTest, CancelDuringTheRunEndsItWithoutAPreview) {
  constexpr int kTapes = 80;  // more than three batches of 25
  AddTapes(kTapes);
  int previews = 0;
  SetReportPreviewCall([&previews](QueueDescriptor&) { ++previews; });
  StartProgram();
  int reads = 0;
  PressCancelAtTheSecondRead(reads);
  Choose(kTapeReportItem);
  WaitForReportToEnd();
  EXPECT_EQ(previews, 0);
  EXPECT_LT(reads, kTapes) << "the run read every tape";
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

// The fourth read fails: the person is told which file, and the three tapes
// read before it are previewed, two on the first page and one on the second.
TEST_F(ReportPreviewTest, AReadErrorMidRunIsToldAndThePagesSoFarPreviewed) {
  AddTapes(kThreePagesOfTapes);
  std::vector<std::vector<std::string>> pages;
  CollectPreviewedPages(pages);
  StartProgram();
  int reads = 0;
  SetDriverFault([&reads](int32_t code, const FileDescriptor& file) {
    if (code != kOpNext || &file != &HTAPES()) return 0;
    return ++reads == 4 ? 330 : 0;
  });
  Choose(kTapeReportItem);
  EXPECT_EQ(MessageTitle(), "Record Retrieval Error");
  AnswerMessage();
  WaitForReportToEnd();
  ASSERT_EQ(pages.size(), 2u);
  auto holds = [&pages](size_t page, const std::string& text) {
    return report_testing::CountOf(pages[page], text) > 0;
  };
  EXPECT_TRUE(holds(0, "TAPE 001"));
  EXPECT_TRUE(holds(0, "TAPE 002"));
  EXPECT_TRUE(holds(1, "TAPE 003"));
  EXPECT_FALSE(holds(1, "TAPE 004"));
  EXPECT_EQ(reads, 4) << "the run read on after the error";
  EXPECT_TRUE(pageFolder_.PageFiles().empty());
}

// The file is told to trust its cached size before the first read and told
// to stop after the last, whether the run completes or is cancelled.
TEST_F(ReportPreviewTest, QuickScanIsOnForTheReadsOfACompletedRun) {
  AddTapes(3);
  SetReportPreviewCall([](QueueDescriptor&) {});
  StartProgram();
  std::vector<std::string> calls;
  WatchTheTapesFile(calls);
  Choose(kTapeReportItem);
  WaitForReportToEnd();
  EXPECT_EQ(calls, (std::vector<std::string>{"QUICKSCAN=on", "NEXT", "NEXT", "NEXT", "NEXT",
                                             "QUICKSCAN=off"}));
}

TEST_F(ReportPreviewTest, QuickScanIsTurnedOffAfterCancel) {
  AddTapes(80);
  SetReportPreviewCall([](QueueDescriptor&) {});
  StartProgram();
  std::vector<std::string> calls;
  WatchTheTapesFile(calls);
  int reads = 0;
  PressCancelAtTheSecondRead(reads);
  Choose(kTapeReportItem);
  WaitForReportToEnd();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front(), "QUICKSCAN=on");
  EXPECT_EQ(calls[1], "NEXT");
  EXPECT_EQ(calls.back(), "QUICKSCAN=off");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "NEXT"), reads);
}

}  // namespace
}  // namespace rk::testing
