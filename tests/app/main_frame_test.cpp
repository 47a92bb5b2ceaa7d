// The program's start and frame, driven through the display and the scheduler:
// the frame opens with its menu and the start window, which blocks the menu until
// "Continue"; menu items start their procedures on threads of their own; "E&xit"
// closes the open children one at a time and then the frame.
#include "app/main_frame.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/about.h"
#include "app/collection_files.h"
#include "app/open_data_file.h"
#include "app/procedure_table.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/queue.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/frame_widget.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/platform/qt/menu_bar_builder.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"
#include "tests/support/qt_application.h"
#include "tools/drive/program_driver.h"

namespace rk {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kExitItem = -2;
constexpr int32_t kBrowseTapesItem = -6;
constexpr int32_t kAboutItem = -33;

using drive::RunUntil;
using drive::VisibleWindowTitled;

QPushButton* ButtonOf(QWidget* window, const QString& text) {
  if (!window) return nullptr;
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

platform::MessageDialog* OpenMessage() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = dynamic_cast<platform::MessageDialog*>(widget);
    if (box && box->isVisible()) return box;
  }
  return nullptr;
}

void Choose(int32_t item) {
  platform::FrameWidget* frame = platform::FrameWidget::Current();
  ASSERT_NE(frame, nullptr);
  QAction* action = platform::FindMenuAction(*frame->menuBar(), item);
  ASSERT_NE(action, nullptr) << item;
  action->trigger();
  platform::TheScheduler().RunUntilIdle();
}

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rk::testing::EnsureQtApplication();
    ConnectFileLayerToThreads();
    RegisterProcedure("ABOUT", ABOUT);
    ASSERT_EQ(UsedSlots(), 0) << "a previous test left threads behind";
    folder_ = fs::temp_directory_path() /
              ("rk-main-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  void TearDown() override {
    if (platform::FrameWidget::Current()) Choose(kExitItem);
    EXPECT_TRUE(RunUntil([] { return UsedSlots() == 0; }));
    fs::current_path(previous_);
    fs::remove_all(folder_);
  }

  void WriteStartText(const std::string& text) {
    std::ofstream(folder_ / "README.TXT", std::ios::binary) << text;
  }

  // Starts MAIN and waits for the start window with its file read.
  QWidget* StartToSplash() {
    EXPECT_TRUE(StartFirstThread(MAIN));
    QWidget* splash = nullptr;
    EXPECT_TRUE(RunUntil([&] {
      splash = VisibleWindowTitled("REELKEEPER V1.0");
      return splash && !VisibleWindowTitled("Reading File") && !VisibleWindowTitled("Progress...");
    }));
    return splash;
  }

  void ContinuePast(QWidget* splash) {
    QPushButton* next = ButtonOf(splash, "Continue");
    ASSERT_NE(next, nullptr);
    next->click();
    ASSERT_TRUE(RunUntil([] { return !VisibleWindowTitled("REELKEEPER V1.0"); }));
  }

  fs::path folder_;
  fs::path previous_;
};

TEST_F(MainFrameTest, TheMenuAnswersOnlyOnceTheStartWindowHasClosed) {
  WriteStartText("Welcome to the tape keeper\r\nSecond line\r\n");
  QWidget* splash = StartToSplash();
  ASSERT_NE(splash, nullptr);
  platform::FrameWidget* frame = platform::FrameWidget::Current();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->windowTitle(), "REELKEEPER V1.0");
  EXPECT_EQ(frame->menuBar()->actions().size(), 6);
  EXPECT_EQ(frame->Zones().Count(), 4);

  Choose(kAboutItem);
  EXPECT_EQ(UsedSlots(), 1) << "nothing starts while the start window is open";
  ContinuePast(splash);
  Choose(kAboutItem);
  ASSERT_TRUE(RunUntil([] { return VisibleWindowTitled("About REELKEEPER") != nullptr; }));
  EXPECT_EQ(UsedSlots(), 2) << "ABOUT runs on a thread of its own";
  EXPECT_EQ(SlotAt(1).stackSize, 25000);

  // A plain window makes the system modal: neither the menu nor START starts more.
  Choose(kAboutItem);
  EXPECT_EQ(UsedSlots(), 2);
  EXPECT_EQ(START([] {}, 0), 0);

  ButtonOf(VisibleWindowTitled("About REELKEEPER"), "Close")->click();
  ASSERT_TRUE(RunUntil([] { return UsedSlots() == 1; }));
  EXPECT_EQ(VisibleWindowTitled("About REELKEEPER"), nullptr);
}

// The start text that the program gives a new collection is read in the start
// window's list without a line cut off at its right edge.
TEST_F(MainFrameTest, TheShippedStartTextFitsTheStartWindowsList) {
  std::ifstream shipped(fs::path(RK_TEST_SOURCE_DIR) / "resources" / "README.TXT",
                        std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(shipped), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(text.empty());
  WriteStartText(text);
  // The faces the program draws with, as it installs them at start.
  platform::InstallFontSubstitutions();
  QWidget* splash = StartToSplash();
  ASSERT_NE(splash, nullptr);
  platform::ListWidget* list = nullptr;
  for (QWidget* child : splash->findChildren<QWidget*>()) {
    if (auto* found = dynamic_cast<platform::ListWidget*>(child)) list = found;
  }
  ASSERT_NE(list, nullptr);
  ASSERT_FALSE(list->Columns().empty());
  const platform::ListColumnLook& column = list->Columns()[0];
  constexpr int kCellMargins = 4;  // two pixels either side of a cell's text
  int room =
      std::min(column.width, list->RowRect(0).width() - column.left) - kCellMargins - column.indent;
  QFontMetrics metrics(list->font());
  int lines = 0;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    QString line = platform::FromAnsi(text.substr(start, end - start));
    EXPECT_LE(metrics.horizontalAdvance(line), room) << line.toStdString();
    ++lines;
  }
  EXPECT_GT(lines, 20);
  ContinuePast(splash);
}

TEST_F(MainFrameTest, AMissingStartTextIsReportedAndTheProgramGoesOn) {
  EXPECT_TRUE(StartFirstThread(MAIN));
  platform::MessageDialog* box = nullptr;
  ASSERT_TRUE(RunUntil([&] { return (box = OpenMessage()) != nullptr; }));
  EXPECT_EQ(box->windowTitle(), "File Load Error");
  ButtonOf(box, "OK")->click();
  QWidget* splash = nullptr;
  ASSERT_TRUE(RunUntil([&] { return (splash = VisibleWindowTitled("REELKEEPER V1.0")); }));
  ContinuePast(splash);
  EXPECT_NE(platform::FrameWidget::Current(), nullptr);
}

TEST_F(MainFrameTest, AnEmptyStartTextIsReportedAsHoldingNoText) {
  WriteStartText("");
  EXPECT_TRUE(StartFirstThread(MAIN));
  platform::MessageDialog* box = nullptr;
  ASSERT_TRUE(RunUntil([&] { return (box = OpenMessage()) != nullptr; }));
  EXPECT_EQ(box->windowTitle(), "File Load Error");
  EXPECT_TRUE(box->findChildren<QLabel*>().size() > 0);
  bool saysNoText = false;
  for (QLabel* label : box->findChildren<QLabel*>()) {
    saysNoText |= label->text().contains("contains no text");
  }
  EXPECT_TRUE(saysNoText);
  ButtonOf(box, "OK")->click();
  QWidget* splash = nullptr;
  ASSERT_TRUE(RunUntil([&] { return (splash = VisibleWindowTitled("REELKEEPER V1.0")); }));
  ContinuePast(splash);
}

// A stand-in browse: opens the tapes file and an MDI window, puts its thread's
// number into its own record buffer and reports what it sees on every event.
constexpr FieldSpec kRowFields[] = {{"ROW", 0, kString, 20}};

struct BrowseLog {
  std::vector<std::string> lines;
};
BrowseLog browseLog;

void TestBrowse() {
  OPENDATAFILE(HTAPES());
  DeclaredFile& tapes = CollectionFile(CollectionFileId::kHtapes);
  std::string mine = "thread " + std::to_string(RunningThreadNumber());
  tapes.setText("HTA:TITLE", mine);
  DeclaredQueue rows(kRowFields, 20);
  Window window;
  OpenWindow(window, WindowKind::kMdiChild, "REELBASE.qvw$reelb002", "BROWSEHTAPES$QUICKWINDOW",
             {&rows.queue()});
  for (AcceptLoop loop; loop.Next();) {
    if (EVENT() == event::kAlways || EVENT() == event::kCloseDown) {
      std::string seen = tapes.text("HTA:TITLE");
      seen.erase(seen.find_last_not_of(' ') + 1);
      browseLog.lines.push_back(mine + (EVENT() == event::kCloseDown ? " closes" : " sees ") +
                                (EVENT() == event::kCloseDown ? "" : seen));
    }
  }
  CloseWindow(window);
  CLOSE(HTAPES());
}

TEST_F(MainFrameTest, TwoBrowsesRunOnTheirOwnThreadsAndExitClosesThemInTurn) {
  WriteStartText("x\r\n");
  browseLog.lines.clear();
  RegisterProcedure("BROWSEHTAPES", TestBrowse);
  QWidget* splash = StartToSplash();
  ASSERT_NE(splash, nullptr);
  ContinuePast(splash);
  Choose(kBrowseTapesItem);
  Choose(kBrowseTapesItem);
  platform::FrameWidget* frame = platform::FrameWidget::Current();
  ASSERT_TRUE(RunUntil([&] { return frame->Client().subWindowList().size() == 2; }));
  EXPECT_EQ(UsedSlots(), 3);
  EXPECT_EQ(SlotAt(1).stackSize, 50000);

  POST(event::kAlways, 0, 2);
  POST(event::kAlways, 0, 3);
  POST(event::kAlways, 0, 2);
  ASSERT_TRUE(RunUntil([] { return browseLog.lines.size() == 3; }));
  std::vector<std::string> seen = browseLog.lines;
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"thread 2 sees thread 2", "thread 2 sees thread 2",
                                            "thread 3 sees thread 3"}));
  browseLog.lines.clear();

  Choose(kExitItem);
  ASSERT_TRUE(RunUntil([] { return UsedSlots() == 0; }));
  EXPECT_EQ(browseLog.lines, (std::vector<std::string>{"thread 2 closes", "thread 3 closes"}));
  EXPECT_EQ(platform::FrameWidget::Current(), nullptr);
  RegisterProcedure("BROWSEHTAPES", nullptr);
}

TEST_F(MainFrameTest, TheSixtyFourthConcurrentProcedureIsNotStarted) {
  WriteStartText("x\r\n");
  RegisterProcedure("BROWSEHTAPES", [] {
    while (WaitForNextMessage().kind != platform::MessageKind::kQuit) {
    }
  });
  QWidget* splash = StartToSplash();
  ASSERT_NE(splash, nullptr);
  ContinuePast(splash);
  // The frame is thread 1; 63 choices fill threads 2 to 64.
  for (int i = 0; i < 64; ++i) Choose(kBrowseTapesItem);
  EXPECT_EQ(UsedSlots(), 64) << "the 64th choice starts nothing";
  for (int slot = 1; slot < kThreadSlots; ++slot) {
    platform::TheScheduler().Post(SlotAt(slot).fiber, {platform::MessageKind::kQuit, 0, 0, {}});
  }
  ASSERT_TRUE(RunUntil([] { return UsedSlots() == 1; }));
  RegisterProcedure("BROWSEHTAPES", nullptr);
}

}  // namespace
}  // namespace rk
