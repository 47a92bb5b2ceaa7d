// Modality on a runtime thread: a window opened later on a thread, or a dialog
// the thread waits in, keeps the thread's earlier windows from taking input,
// while other threads' windows and the frame's menu keep working.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <chrono>
#include <cstring>
#include <thread>

#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/message_box.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "tests/files/kmf_test_support.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using platform::MessageKind;
using namespace rk::testing;

constexpr int32_t kStartItem = -5;

StructureRecord OneButton() {
  return WindowDefinition({MakeControl(RecordKind::kButton, 1, {4, 4, 40, 14})});
}

// One button and an "&Edit" menu that joins the frame's while the window is active.
StructureRecord OneButtonAndMenu() {
  MenuRecord item;
  item.number = -7;
  item.text = "&Copy";
  MenuRecord menu;
  menu.kind = RecordKind::kMenu;
  menu.text = "&Edit";
  menu.items = {item};
  StructureRecord window = OneButton();
  window.menubar = MenuBarRecord{0, {menu}};
  return window;
}

// A frame whose "&File" menu holds one item, "&Start".
StructureRecord FrameWithMenu() {
  MenuRecord item;
  item.number = kStartItem;
  item.text = "&Start";
  MenuRecord menu;
  menu.kind = RecordKind::kMenu;
  menu.text = "&File";
  menu.items = {item};
  StructureRecord frame = WindowDefinition({});
  frame.menubar = MenuBarRecord{0, {menu}};
  return frame;
}

QAbstractButton* ButtonOf(const Window& window, int32_t number) {
  Control* control = window.FindControl(number);
  return control ? dynamic_cast<QAbstractButton*>(control->Widget()) : nullptr;
}

platform::MessageDialog* ShownMessageDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<platform::MessageDialog*>(widget);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

class ThreadModalityTest : public WindowTest {
 protected:
  // The frame on a thread of its own. A choice of its "Start" item starts
  // `onStart` on a new thread and records the thread number START returned.
  void OpenFrame(Procedure onStart = [] {}) {
    START(
        [this, onStart] {
          Window frame;
          frame_ = &frame;
          OpenTestWindow(frame, WindowKind::kApplication, FrameWithMenu());
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() == event::kAccepted && FIELD() == kStartItem) {
              started_.push_back(START(onStart, 0));
            }
          }
          frame_ = nullptr;
        },
        0);
    RunUntilIdle();
    ASSERT_NE(frame_, nullptr);
  }

  // An MDI child with one button on a thread of its own, logging its events
  // under `name`; `onPress` runs in the body when the button is pressed.
  void OpenChild(const std::string& name, Window*& window, std::function<void()> onPress,
                 StructureRecord definition = OneButton()) {
    START(
        [this, name, &window, onPress, definition] {
          Window mine;
          window = &mine;
          OpenTestWindow(mine, WindowKind::kMdiChild, definition);
          for (AcceptLoop loop; loop.Next();) {
            Log(name, EVENT(), FIELD());
            if (EVENT() == event::kAccepted && FIELD() == 1) onPress();
          }
          window = nullptr;
        },
        0);
    RunUntilIdle();
    ASSERT_NE(window, nullptr);
  }

  // A form called on the caller's thread: an MDI child that runs until closed.
  void RunForm() {
    Window form;
    form_ = &form;
    OpenTestWindow(form, WindowKind::kMdiChild, OneButton());
    for (AcceptLoop loop; loop.Next();) Log("form", EVENT(), FIELD());
    form_ = nullptr;
  }

  void Log(const std::string& name, int32_t code, int32_t control) {
    // Focus, activation and placement events follow the platform's handling of
    // MDI children, which is not what these tests are about.
    if (code == event::kSelected || code == event::kLoseFocus || code == event::kGainFocus ||
        code == event::kSuspend || code == event::kResume ||
        (code >= event::kMoved && code <= event::kIconized)) {
      return;
    }
    log_.push_back(name + " " + Describe(code, control));
  }

  QAction* FrameMenu(const QString& text) {
    for (QAction* top : frame_->shell->Outer()->findChild<QMenuBar*>()->actions()) {
      if (top->text() == text) return top;
    }
    return nullptr;
  }

  QAction* StartAction() {
    for (QAction* top : frame_->shell->Outer()->findChild<QMenuBar*>()->actions()) {
      if (!top->menu()) continue;
      for (QAction* action : top->menu()->actions()) {
        if (action->text() == "&Start") return action;
      }
    }
    return nullptr;
  }

  QMdiSubWindow* ActiveChild() {
    return static_cast<platform::FrameShell&>(*frame_->shell).Area()->activeSubWindow();
  }

  // What the threads write to outlives them: the fixture's members do.
  Window* frame_ = nullptr;
  Window* form_ = nullptr;
  Window* browse_ = nullptr;
  Window* other_ = nullptr;
  int32_t answer_ = -1;
  bool waiterDone_ = false;
  int32_t waiterAnswer_ = -1;
  std::vector<int32_t> started_;
  std::vector<std::string> log_;
};

TEST_F(ThreadModalityTest, AnEarlierWindowTakesNoInputWhileALaterOneOfItsThreadIsOpen) {
  OpenFrame();
  OpenChild("other", other_, [] {});
  OpenChild("browse", browse_, [this] { RunForm(); });
  ButtonOf(*browse_, 1)->click();  // "Insert": the form opens on the browse's thread
  RunUntilIdle();
  ASSERT_NE(form_, nullptr);

  EXPECT_FALSE(browse_->shell->Outer()->isEnabled());
  EXPECT_TRUE(form_->shell->Outer()->isEnabled());
  EXPECT_TRUE(other_->shell->Outer()->isEnabled()) << "another thread's window";
  EXPECT_TRUE(frame_->shell->Outer()->findChild<QMenuBar*>()->isEnabled());

  // A second press and a close from the window manager reach nothing, now or later.
  ButtonOf(*browse_, 1)->click();
  browse_->shell->Outer()->close();
  PostToThread(browse_->thread, MessageKind::kCloseRequest, browse_->Id());
  ButtonOf(*other_, 1)->click();
  RunUntilIdle();
  EXPECT_EQ(log_, (std::vector<std::string>{"other 203:0", "browse 203:0", "browse 1:1",
                                            "form 203:0", "other 1:1"}));

  log_.clear();
  PostToThread(form_->thread, MessageKind::kCloseRequest, form_->Id());
  RunUntilIdle();
  EXPECT_EQ(form_, nullptr);
  EXPECT_EQ(log_, (std::vector<std::string>{"form 201:0"})) << "nothing was kept for the browse";
  EXPECT_TRUE(browse_->shell->Outer()->isEnabled());
  EXPECT_EQ(ActiveChild(), browse_->shell->Outer()) << "the browse is active again";
  ButtonOf(*browse_, 1)->click();
  RunUntilIdle();
  EXPECT_EQ(log_.back(), "form 203:0") << "the browse takes input again";
}

TEST_F(ThreadModalityTest, AMessageBoxBelongsToItsThreadsWindowAndBlocksOnlyThatThread) {
  OpenFrame();
  OpenChild("other", other_, [] {});
  OpenChild(
      "browse", browse_, [this] { answer_ = MESSAGE("Delete?", "", "", kButtonOk); },
      OneButtonAndMenu());
  auto& area = *static_cast<platform::FrameShell&>(*frame_->shell).Area();
  area.setActiveSubWindow(static_cast<QMdiSubWindow*>(browse_->shell->Outer()));
  RunUntilIdle();
  ASSERT_NE(FrameMenu("&Edit"), nullptr) << "the browse's menu joined the frame's";
  ButtonOf(*browse_, 1)->click();
  RunUntilIdle();
  platform::MessageDialog* box = ShownMessageDialog();
  ASSERT_NE(box, nullptr);

  EXPECT_EQ(box->parentWidget(), browse_->shell->Outer());
  EXPECT_FALSE(browse_->shell->Outer()->isEnabled());
  EXPECT_TRUE(box->isEnabled());
  EXPECT_FALSE(FrameMenu("&Edit")->isEnabled()) << "the browse's own menu";
  EXPECT_TRUE(other_->shell->Outer()->isEnabled());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the frame is not blocked";

  // The frame's menu still starts procedures, and the other thread still works.
  StartAction()->trigger();
  ButtonOf(*other_, 1)->click();
  RunUntilIdle();
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_GT(started_[0], 0);
  EXPECT_EQ(log_.back(), "other 1:1");
  EXPECT_EQ(answer_, -1);

  box->findChild<QAbstractButton*>()->click();
  RunUntilIdle();
  EXPECT_EQ(answer_, kButtonOk);
  EXPECT_TRUE(browse_->shell->Outer()->isEnabled());
  EXPECT_TRUE(FrameMenu("&Edit")->isEnabled());
}

TEST_F(ThreadModalityTest, ABoxWhoseOwnerClosesWaitsForThePerson) {
  OpenFrame();
  // A thread without a window of its own: its box belongs to the frame.
  START([this] { answer_ = MESSAGE("Tape saved.", "", "", kButtonOk); }, 0);
  RunUntilIdle();
  platform::MessageDialog* box = ShownMessageDialog();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->parentWidget(), frame_->shell->Outer());

  PostToThread(frame_->thread, MessageKind::kCloseRequest, frame_->Id());
  RunUntilIdle();
  ASSERT_EQ(frame_, nullptr) << "the frame has closed";
  EXPECT_EQ(answer_, -1) << "nobody answered for the person";
  box = ShownMessageDialog();
  ASSERT_NE(box, nullptr);
  box->findChild<QAbstractButton*>()->click();
  RunUntilIdle();
  EXPECT_EQ(answer_, kButtonOk);
}

const FieldSpec kTapeFields[] = {{"TAP:NUMBER", 0, kLong}};
const KeySpec kTapeKeys[] = {{"TAP:NUMBER_KEY", 0, {1}}};

TEST_F(ThreadModalityTest, TheFrameMenuStartsProceduresWhileAThreadWaitsOnAHeldRecord) {
  kmf::testing::TempDirectory dir;
  std::string name = dir.File("TAPES");
  FileSpec spec{"tapes", name.c_str(), kFileAttrCreate, 4, kTapeFields, kTapeKeys, {}};
  DeclaredFile holder(spec, &KmfEntry);
  DeclaredFile waiter(spec, &KmfEntry);
  CREATE(holder.file());
  OPEN(holder.file());
  int32_t number = 7;
  std::memcpy(holder.record(), &number, 4);
  ADD(holder.file());
  auto record = static_cast<int32_t>(POINTER(holder.file()));
  HOLD(holder.file());
  GET(holder.file(), record);

  OpenFrame();
  START(
      [this, &waiter, record] {
        OPEN(waiter.file());
        HOLD(waiter.file());
        GET(waiter.file(), record);  // retries until the holder lets go
        waiterAnswer_ = ErrorCode();
        RELEASE(waiter.file());
        CLOSE(waiter.file());
        waiterDone_ = true;
      },
      0);
  RunUntilIdle();
  ASSERT_FALSE(waiterDone_);

  StartAction()->trigger();
  RunUntilIdle();
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_GT(started_[0], 0) << "the choice started its procedure";

  // The holder lets go on a runtime thread of its own: runtime code runs only
  // on the thread that holds the runtime lock.
  START([&holder] { RELEASE(holder.file()); }, 0);
  for (int round = 0; round < 500 && !waiterDone_; ++round) {
    RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(waiterDone_);
  EXPECT_EQ(waiterAnswer_, 0);
  START([&holder] { CLOSE(holder.file()); }, 0);
  RunUntilIdle();
}

}  // namespace
}  // namespace rk
