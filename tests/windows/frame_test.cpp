// The frame on the display: its menus built from the application's frame
// definition, merging of a child's menus, the status zones, the standard actions
// and the refusal of a desktop shutdown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <memory>

#include "runtime/platform/qt/frame_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/shutdown_refusal.h"
#include "runtime/windows/definition_open.h"
#include "runtime/windows/frame_menu.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/standard_actions.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::FrameWidget;
using platform::MenuBarItem;
using platform::MessageKind;
using platform::PlatformMessage;

MenuRecord Item(int32_t number, std::string text = "x") {
  MenuRecord item;
  item.number = number;
  item.text = std::move(text);
  return item;
}

MenuRecord Separator() {
  MenuRecord item;
  item.flags = menu_field::kSeparatorFlag;
  return item;
}

MenuRecord Menu(std::string text, std::vector<MenuRecord> items) {
  MenuRecord menu;
  menu.kind = RecordKind::kMenu;
  menu.text = std::move(text);
  menu.items = std::move(items);
  return menu;
}

std::vector<int32_t> NumbersOf(const std::vector<MenuRecord>& items) {
  std::vector<int32_t> numbers;
  for (const MenuRecord& item : items) numbers.push_back(item.IsSeparator() ? 0 : item.number);
  return numbers;
}

TEST(FrameMenuTest, StraySeparatorsGoAtEveryLevel) {
  std::vector<MenuRecord> items = {
      Separator(),
      Item(-1),
      Separator(),
      Separator(),
      Item(-2),
      Menu("&Sub", {Separator(), Item(-3), Separator(), Separator(), Item(-4), Separator()}),
      Separator()};
  RemoveStraySeparators(items);
  EXPECT_EQ(NumbersOf(items), (std::vector<int32_t>{-1, 0, -2, 0}));
  EXPECT_EQ(NumbersOf(items[3].items), (std::vector<int32_t>{-3, 0, -4}));

  std::vector<MenuRecord> onlySeparators = {Separator(), Separator()};
  RemoveStraySeparators(onlySeparators);
  EXPECT_TRUE(onlySeparators.empty());
}

// The application's frame definition, read from the embedded resources.
StructureRecord AppFrameDefinition() {
  DefinitionFailure failure;
  void* none = nullptr;
  std::optional<StructureRecord> frame =
      LoadDefinition("REELBASE.qvw$reelb001", "MAIN$APPFRAME", &none, failure);
  EXPECT_TRUE(frame.has_value()) << failure.context;
  return frame.value_or(StructureRecord{});
}

class FrameWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rk::testing::EnsureQtApplication();
    frame_ = std::make_unique<FrameWidget>();
    frame_->resize(800, 600);
  }
  void TearDown() override {
    frame_.reset();
    platform::TheScheduler().RunUntilIdle();
  }

  // A fiber that records the menu commands and close requests it receives.
  platform::FiberId Listener() {
    return platform::TheScheduler().Spawn(
        [this] {
          for (;;) {
            PlatformMessage message = platform::TheScheduler().WaitMessage();
            if (message.kind == MessageKind::kQuit) return;
            received_.push_back(message);
          }
        },
        0);
  }
  void StopListener(platform::FiberId listener) {
    platform::TheScheduler().Post(listener, {MessageKind::kQuit, 0, 0, nullptr});
    platform::TheScheduler().RunUntilIdle();
  }

  platform::MenuOwner OwnerFor(platform::FiberId thread, uintptr_t target) {
    platform::MenuOwner owner;
    owner.scheduler = &platform::TheScheduler();
    owner.thread = thread;
    owner.target = target;
    owner.runAction = [this](int32_t action) { actions_.push_back(action); };
    return owner;
  }

  QStringList TopMenus() const {
    QStringList titles;
    for (QAction* action : frame_->menuBar()->actions()) titles << action->text();
    return titles;
  }

  std::unique_ptr<FrameWidget> frame_;
  std::vector<PlatformMessage> received_;
  std::vector<int32_t> actions_;
};

TEST_F(FrameWidgetTest, TheApplicationMenuRunsActionsAndPostsItsOtherItems) {
  StructureRecord definition = AppFrameDefinition();
  ASSERT_TRUE(definition.menubar.has_value());
  platform::FiberId listener = Listener();
  platform::TheScheduler().RunUntilIdle();
  frame_->SetMenu(MenuBarItemsOf(*definition.menubar), OwnerFor(listener, 77));

  EXPECT_EQ(TopMenus(),
            (QStringList{"&File", "&Edit", "&Browse Files", "&Reports", "&Window", "&Help"}));
  QMenu* file = frame_->menuBar()->actions()[0]->menu();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->actions().size(), 3);
  EXPECT_EQ(file->actions()[0]->text(), "&Print Setup ...");
  EXPECT_TRUE(file->actions()[1]->isSeparator());
  EXPECT_EQ(file->actions()[2]->text(), "E&xit");
  EXPECT_EQ(file->actions()[2]->statusTip(), "Exit this application");

  // Items nested two menus deep are found by their number.
  QAction* serial = platform::FindMenuAction(*frame_->menuBar(), -22);
  ASSERT_NE(serial, nullptr);
  EXPECT_EQ(serial->text(), "Print by SERIAL NUMBER");
  EXPECT_EQ(serial->statusTip(), "Print ordered by the ITE:SERIAL_No key");

  platform::FindMenuAction(*frame_->menuBar(), -2)->trigger();   // Exit: action 15
  platform::FindMenuAction(*frame_->menuBar(), -27)->trigger();  // Tile: action 2
  platform::FindMenuAction(*frame_->menuBar(), -6)->trigger();   // Browse tapes
  platform::FindMenuAction(*frame_->menuBar(), -33)->trigger();  // About
  platform::TheScheduler().RunUntilIdle();
  EXPECT_EQ(actions_, (std::vector<int32_t>{standard_action::kClose, standard_action::kTile}));
  ASSERT_EQ(received_.size(), 2u);
  EXPECT_EQ(received_[0].kind, MessageKind::kMenuCommand);
  EXPECT_EQ(received_[0].target, 77u);
  EXPECT_EQ(received_[0].param, -6);
  EXPECT_EQ(received_[1].param, -33);
  StopListener(listener);
}

TEST_F(FrameWidgetTest, AChildsMenusJoinTheFramesOnlyWhileItIsActive) {
  MenuBarRecord frameBar;
  frameBar.items = {Menu("&File", {Item(-1, "E&xit")})};
  frame_->SetMenu(MenuBarItemsOf(frameBar), OwnerFor(0, 1));
  MenuBarRecord childBar;
  childBar.items = {Menu("&Tape", {Item(-1, "&Label")})};
  ASSERT_TRUE(MergesIntoFrame(childBar));

  frame_->show();
  QMdiSubWindow* first = frame_->AddChild(new QWidget);
  QMdiSubWindow* second = frame_->AddChild(new QWidget);
  first->show();
  second->show();
  frame_->SetChildMenu(*first, MenuBarItemsOf(childBar), OwnerFor(0, 2));

  frame_->Client().setActiveSubWindow(first);
  EXPECT_EQ(TopMenus(), (QStringList{"&File", "&Tape"}));
  frame_->Client().setActiveSubWindow(second);
  EXPECT_EQ(TopMenus(), (QStringList{"&File"}));
  frame_->Client().setActiveSubWindow(first);
  EXPECT_EQ(TopMenus(), (QStringList{"&File", "&Tape"}));
  delete first;
  EXPECT_EQ(TopMenus(), (QStringList{"&File"}));
}

TEST_F(FrameWidgetTest, StatusZonesKeepTheirWidthsAndTexts) {
  frame_->SetStatusZones({-1, 80, 120});
  frame_->show();
  platform::StatusZones& zones = frame_->Zones();
  ASSERT_EQ(zones.Count(), 3);
  zones.SetText(1, "Ready");
  zones.SetText(3, "Page 1 of 2");
  zones.SetText(4, "nowhere");
  EXPECT_EQ(zones.Text(1), "Ready");
  EXPECT_EQ(zones.Text(3), "Page 1 of 2");
  EXPECT_EQ(zones.Text(4), "");
  QList<QLabel*> labels = frame_->statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(labels.size(), 2);
  EXPECT_EQ(labels[0]->width(), 80);
  EXPECT_EQ(labels[1]->width(), 120);

  // A menu item's status message passes, and the zone's own text comes back.
  frame_->statusBar()->showMessage("Setup printer");
  EXPECT_EQ(zones.Text(1), "Setup printer");
  frame_->statusBar()->clearMessage();
  EXPECT_EQ(zones.Text(1), "Ready");
}

TEST_F(FrameWidgetTest, TilingSetsChildrenSideBySideOrStacked) {
  frame_->show();
  QMdiSubWindow* left = frame_->AddChild(new QWidget);
  QMdiSubWindow* right = frame_->AddChild(new QWidget);
  left->show();
  right->show();
  QRect area = frame_->Client().viewport()->rect();

  RunStandardAction(standard_action::kTile, {});
  EXPECT_EQ(left->geometry(), QRect(0, 0, area.width() / 2, area.height()));
  EXPECT_EQ(right->geometry().left(), area.width() / 2);
  EXPECT_EQ(right->geometry().right(), area.width() - 1);

  RunStandardAction(standard_action::kTileHorizontally, {});
  EXPECT_EQ(left->geometry(), QRect(0, 0, area.width(), area.height() / 2));
  EXPECT_EQ(right->geometry().top(), area.height() / 2);

  RunStandardAction(standard_action::kCascade, {});
  EXPECT_NE(left->geometry().topLeft(), right->geometry().topLeft());
}

TEST(StandardActionsTest, WithoutAFrameArrangingDoesNothingAndCloseBecomesARequest) {
  rk::testing::EnsureQtApplication();
  ASSERT_EQ(FrameWidget::Current(), nullptr);
  RunStandardAction(standard_action::kTile, {});
  RunStandardAction(standard_action::kArrangeIcons, {});
  RunStandardAction(standard_action::kHelpContents, {});

  std::vector<PlatformMessage> received;
  platform::FiberId thread = platform::TheScheduler().Spawn(
      [&] { received.push_back(platform::TheScheduler().WaitMessage()); }, 0);
  platform::TheScheduler().RunUntilIdle();
  RunStandardAction(standard_action::kClose, {thread, 42});
  platform::TheScheduler().RunUntilIdle();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].kind, MessageKind::kCloseRequest);
  EXPECT_EQ(received[0].target, 42u);
}

TEST(StandardActionsTest, ClipboardCommandsGoToTheControlWithTheFocus) {
  rk::testing::EnsureQtApplication();
  QWidget window;
  auto* edit = new QLineEdit("VHS tape", &window);
  window.show();
  QApplication::setActiveWindow(&window);
  edit->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), edit);

  edit->setSelection(0, 3);
  RunStandardAction(standard_action::kCut, {});
  EXPECT_EQ(edit->text(), " tape");
  EXPECT_EQ(QApplication::clipboard()->text(), "VHS");
  edit->setCursorPosition(edit->text().size());
  RunStandardAction(standard_action::kPaste, {});
  EXPECT_EQ(edit->text(), " tapeVHS");
  edit->setSelection(0, 5);
  RunStandardAction(standard_action::kCopy, {});
  EXPECT_EQ(QApplication::clipboard()->text(), " tape");
  RunStandardAction(standard_action::kUndo, {});
  EXPECT_EQ(edit->text(), " tape");
}

TEST(ShutdownRefusalTest, TheBoxNamesTheProgramAndSaysWhy) {
  rk::testing::EnsureQtApplication();
  std::unique_ptr<QWidget> box(platform::ShowShutdownRefusal(nullptr));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->windowTitle(), platform::ProgramFileName());
  EXPECT_EQ(box->windowTitle(), "windows_tests");
  EXPECT_TRUE(box->isModal());
  QLabel* text = nullptr;
  for (QLabel* label : box->findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) text = label;
  }
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(),
            "Application still active.\n\nQuit the application before quitting Windows.");
}

}  // namespace
}  // namespace rk
