// Opening windows from definitions: their controls, their variables, the kinds'
// open rules and errors, the modal count, and closing by the thread's end.
#include <gtest/gtest.h>

#include <QTabWidget>
#include <array>
#include <cstring>

#include "runtime/files/queue.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/entry_widget.h"
#include "runtime/platform/qt/widget_grab.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"
#include "tests/support/process_temp_dir.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using platform::MessageKind;
using namespace rk::testing;

constexpr char kVideosTag[] = "REELBASE.qvw$reelb030";
constexpr char kVideosLabel[] = "UPDATEVIDEOS$QUICKWINDOW";
constexpr int kVideosVariables = 21;
constexpr int kCastRowsVariable = 19;  // the cast list's row queue

// Room for each of the video form's variables, space-filled like record fields,
// and an empty queue for the cast list.
struct VideoFormVariables {
  VideoFormVariables() {
    for (auto& field : fields) field.fill(' ');
  }
  std::array<std::array<char, 1024>, kVideosVariables> fields;
  QueueDescriptor castRows;
  void* at(int i) {
    return i == kCastRowsVariable ? static_cast<void*>(&castRows) : fields[i].data();
  }
};

void OpenVideoForm(Window& window, VideoFormVariables& vars) {
  OpenWindow(
      window, WindowKind::kPlain, kVideosTag, kVideosLabel,
      {vars.at(0),  vars.at(1),  vars.at(2),  vars.at(3),  vars.at(4),  vars.at(5),  vars.at(6),
       vars.at(7),  vars.at(8),  vars.at(9),  vars.at(10), vars.at(11), vars.at(12), vars.at(13),
       vars.at(14), vars.at(15), vars.at(16), vars.at(17), vars.at(18), vars.at(19), vars.at(20)});
}

class WindowOpenTest : public WindowTest {
 protected:
  // What the threads write to outlives them: the fixture's members do.
  Window* reused_ = nullptr;
  std::vector<std::string> seen_;
};

TEST_F(WindowOpenTest, AFormOpensWithEveryControlOfItsDefinitionInCreationOrder) {
  VideoFormVariables vars;
  std::memcpy(vars.at(0), "ALIEN", 5);  // the title entry, control 4
  std::vector<int32_t> numbers;
  std::vector<RecordKind> kinds;
  QString titleShown;
  bool secondTabHidden = false;
  bool secondTabShownAfterSwitch = false;
  int32_t thread = START(
      [&] {
        Window window;
        OpenVideoForm(window, vars);
        for (const auto& control : window.controls) {
          numbers.push_back(control->Number());
          kinds.push_back(control->Kind());
        }
        titleShown = platform::FromAnsi(
            static_cast<platform::EntryWidget*>(window.FindControl(4)->Widget())->State().text);
        secondTabHidden = !window.FindControl(26)->Widget()->isVisibleTo(window.shell->Client());
        auto* tabs = static_cast<QTabWidget*>(window.FindControl(1)->Widget());
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() == event::kOpenWindow) {
            EXPECT_EQ(CHOICE(1), 1);
            tabs->setCurrentIndex(1);
          } else if (EVENT() == event::kNewSelection && FIELD() == 1) {
            EXPECT_EQ(CHOICE(), 2);
            secondTabShownAfterSwitch =
                window.FindControl(26)->Widget()->isVisibleTo(window.shell->Client()) &&
                !window.FindControl(4)->Widget()->isVisibleTo(window.shell->Client());
            POST(event::kCloseWindow);
          }
        }
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(UsedSlots(), 0) << thread;
  ASSERT_EQ(numbers.size(), 55u);  // 50 numbered controls, 5 tabs
  EXPECT_EQ(numbers.front(), 1);
  EXPECT_EQ(kinds[1], RecordKind::kTab);
  EXPECT_EQ(numbers.back(), 50);
  EXPECT_EQ(titleShown.trimmed(), "ALIEN");
  EXPECT_TRUE(secondTabHidden);
  EXPECT_TRUE(secondTabShownAfterSwitch);
}

TEST_F(WindowOpenTest, TheFormRendersToAPicture) {
  VideoFormVariables vars;
  std::memcpy(vars.at(0), "THE THIRD MAN", 13);
  QImage image;
  bool saved = false;
  START(
      [&] {
        Window window;
        OpenVideoForm(window, vars);
        image = platform::GrabWidget(*window.shell->Outer());
        saved = platform::GrabWidgetToPng(
            *window.shell->Outer(),
            QString::fromStdString(testing::ProcessTempDir::File("update_videos.png")));
      },
      0);
  RunUntilIdle();
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(saved);
  EXPECT_GT(image.width(), 300);
  EXPECT_GT(image.height(), 150);
}

TEST_F(WindowOpenTest, KindRulesRefuseFramesAndMdiWindowsAsDescribed) {
  std::vector<int32_t> refusals;
  StructureRecord definition = WindowDefinition({});
  START(
      [&] {
        refusals.push_back(OpenRefusal(WindowKind::kMdiChild));  // no frame
        Window frame;
        OpenTestWindow(frame, WindowKind::kApplication, definition);
        refusals.push_back(OpenRefusal(WindowKind::kApplication));  // a second frame
        refusals.push_back(OpenRefusal(WindowKind::kMdiChild));     // on the frame's thread
        refusals.push_back(TryOpenWindow(frame, WindowKind::kPlain, definition));  // already open
        Window plain;
        OpenTestWindow(plain, WindowKind::kPlain, definition);
        refusals.push_back(START([] {}, 0));  // modal: no new thread
        CloseWindow(plain);
        refusals.push_back(ModalCount());
        CloseWindow(frame);
        CloseWindow(frame);  // closing a closed window does nothing
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(refusals, (std::vector<int32_t>{530, 526, 532, 535, 0, 0}));
}

TEST_F(WindowOpenTest, ModalStateRefusesFramesAndMdiWindows) {
  std::vector<int32_t> refusals;
  START(
      [&] {
        Window frame;
        OpenTestWindow(frame, WindowKind::kApplication, WindowDefinition({}));
        EnterModal();
        refusals.push_back(OpenRefusal(WindowKind::kApplication));
        LeaveModal();
        CloseWindow(frame);
        EnterModal();
        refusals.push_back(OpenRefusal(WindowKind::kApplication));
        LeaveModal();
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(refusals, (std::vector<int32_t>{526, 527}));
}

TEST_F(WindowOpenTest, AWindowLeftOpenIsClosedWhenItsThreadEnds) {
  auto* leaked = new Window;
  START([&] { OpenTestWindow(*leaked, WindowKind::kPlain, WindowDefinition({})); }, 0);
  RunUntilIdle();
  EXPECT_FALSE(leaked->IsOpen());
  EXPECT_EQ(ModalCount(), 0);
  delete leaked;
}

TEST_F(WindowOpenTest, MessagesForAnEarlierOpeningNeverReachTheNextOne) {
  uint32_t first = 0;
  uint32_t second = 0;
  START(
      [&first, &second, this] {
        Window reused;
        reused_ = &reused;
        StructureRecord definition =
            WindowDefinition({MakeControl(RecordKind::kButton, 1, {4, 4, 40, 14})});
        OpenTestWindow(reused, WindowKind::kPlain, definition);
        first = reused.Id();
        // On their way when the window closes: an event and a close request.
        POST(event::kAccepted, 1);
        PostToThread(reused.thread, MessageKind::kCloseRequest, first);
        CloseWindow(reused);
        OpenTestWindow(reused, WindowKind::kPlain, definition);
        second = reused.Id();
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() != event::kSelected) seen_.push_back(Describe(EVENT(), FIELD()));
        }
        reused_ = nullptr;
      },
      0);
  RunUntilIdle();
  EXPECT_NE(first, second);
  EXPECT_EQ(seen_, (std::vector<std::string>{"203:0"}));
  ASSERT_NE(reused_, nullptr) << "the reopened window is still open";
  PostToThread(reused_->thread, MessageKind::kCloseRequest, second);
  RunUntilIdle();
  EXPECT_EQ(seen_, (std::vector<std::string>{"203:0", "201:0"}));
}

TEST_F(WindowOpenTest, OperationsWithoutAnOpenWindowAreRuntimeError536) {
  EXPECT_EXIT(DISPLAY(), ::testing::ExitedWithCode(2), "Window is not open");
}

}  // namespace
}  // namespace rk
