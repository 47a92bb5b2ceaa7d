// soak DATA-FOLDER [--seed N] [--steps N]
//
// A seeded random walk of a person's actions over the whole program, offscreen:
// menu choices, buttons, keys, typing, clicks on list rows, popup choices,
// tabs, answers to message boxes and closed windows. It stops at the first
// sign of trouble and prints the seed and the step, so that the same walk
// replays: a step that does not come back (a hang), or a program that is gone
// before the walk ends. Afterwards the program is ended through its menu, every
// record that a completed form saved must still be in its file (unless a later
// completed form changed or deleted it), and every data file must pass
// `kmftool check` (run by ./dev soak).
#include <unistd.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/application_procedures.h"
#include "runtime/core/environment_file.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/thread_slots.h"
#include "tools/common/tool_arguments.h"
#include "tools/drive/program_driver.h"
#include "tools/soak/form_saves.h"

namespace {

constexpr int kStepLimitSeconds = 60;  // a step that takes longer has hung
constexpr int32_t kExitItem = -2;

// The menu items a walk may choose: the browses, the trees and About. The
// reports are left out: their preview prints through the system's dialogs.
constexpr int32_t kMenuItems[] = {-6, -7, -9, -10, -12, -13, -15, -16, -33};

unsigned long long seed = 0;
long currentStep = 0;

void OnAlarm(int) {
  std::fprintf(stderr, "soak: seed %llu step %ld did not come back (hang)\n", seed, currentStep);
  std::_Exit(3);
}

class Walk {
 public:
  explicit Walk(unsigned long long seed) : random_(seed) {}

  void Step() {
    if (auto* box = OpenMessage()) return Answer(*box);
    if (auto* menu = OpenPopup()) return ChooseFrom(*menu);
    switch (Pick(10)) {
      case 0:
        // A modal window blocks the frame's menu for a person.
        if (!QApplication::activeModalWidget()) {
          rk::drive::ChooseMenu(kMenuItems[Pick(std::size(kMenuItems))]);
        }
        break;
      case 1:
      case 2:
        PressButton();
        break;
      case 3:
      case 4:
        Key();
        break;
      case 5:
        Type();
        break;
      case 6:
      case 7:
        ClickRow();
        break;
      case 8:
        TurnTab();
        break;
      default:
        if (Pick(4) == 0) CloseWindow();
        break;
    }
    rk::drive::RunOnce();
  }

 private:
  size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random_); }

  static rk::platform::MessageDialog* OpenMessage() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = dynamic_cast<rk::platform::MessageDialog*>(widget);
      if (box && box->isVisible()) return box;
    }
    return nullptr;
  }

  static QMenu* OpenPopup() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* menu = dynamic_cast<QMenu*>(widget);
      if (menu && menu->isVisible()) return menu;
    }
    return nullptr;
  }

  void Answer(QWidget& box) {
    QList<QPushButton*> buttons = box.findChildren<QPushButton*>();
    if (!buttons.isEmpty()) buttons[static_cast<int>(Pick(buttons.size()))]->click();
    rk::drive::RunOnce();
  }

  void ChooseFrom(QMenu& menu) {
    QList<QAction*> actions = menu.actions();
    if (!actions.isEmpty() && Pick(4) != 0) {
      QAction* action = actions[static_cast<int>(Pick(actions.size()))];
      if (action->isEnabled() && !action->isSeparator()) action->trigger();
    }
    menu.close();
    rk::drive::RunOnce();
  }

  // The window being worked in: the modal window when one is open (a person
  // can reach nothing else), else the one around the focus, else the active
  // window, else the frame's child in front. Offscreen, a closed message or
  // window can leave no focus and no active window behind; a person would
  // then click into the window in front, and so does the walk.
  static QWidget* WorkingWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* around = focus; around; around = around->parentWidget()) {
      if (qobject_cast<QMdiSubWindow*>(around)) return around;
    }
    if (focus) return focus->window();
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* area = top->isVisible() ? top->findChild<QMdiArea*>() : nullptr;
      if (!area) continue;
      QMdiSubWindow* front = area->currentSubWindow();
      QList<QMdiSubWindow*> children = area->subWindowList(QMdiArea::StackingOrder);
      if (!front && !children.isEmpty()) front = children.back();
      return front ? static_cast<QWidget*>(front) : top;
    }
    return nullptr;
  }

  // The focus, or when there is none (or it lies outside the modal window
  // that blocks it), the control last focused in the working window (else its
  // first that takes the focus), given the focus as a click into it would.
  static QWidget* FocusOrClickIn() {
    QWidget* focus = QApplication::focusWidget();
    QWidget* modal = QApplication::activeModalWidget();
    if (focus && (!modal || modal->isAncestorOf(focus) || focus == modal)) return focus;
    QWidget* window = WorkingWindow();
    if (!window) return nullptr;
    QWidget* target = window->focusWidget();
    for (QWidget* child : window->findChildren<QWidget*>()) {
      if (target) break;
      if (child->isVisible() && child->isEnabled() && child->focusPolicy() != Qt::NoFocus) {
        target = child;
      }
    }
    if (target) target->setFocus(Qt::MouseFocusReason);
    return target;
  }

  void PressButton() {
    QWidget* window = WorkingWindow();
    if (!window) return;
    std::vector<QPushButton*> buttons;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
      if (button->isVisible() && button->isEnabled()) buttons.push_back(button);
    }
    if (!buttons.empty()) buttons[Pick(buttons.size())]->click();
  }

  void Key() {
    static constexpr int kKeys[] = {Qt::Key_Tab,      Qt::Key_Return, Qt::Key_Escape,
                                    Qt::Key_Up,       Qt::Key_Down,   Qt::Key_PageUp,
                                    Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,
                                    Qt::Key_Insert,   Qt::Key_Delete, Qt::Key_Backspace};
    if (QWidget* focus = FocusOrClickIn()) {
      rk::drive::SendKey(*focus, kKeys[Pick(std::size(kKeys))]);
    }
  }

  void Type() {
    static constexpr char kCharacters[] = "ABCXYZ abc019/:.-";
    QWidget* focus = FocusOrClickIn();
    size_t length = 1 + Pick(8);
    for (size_t i = 0; i < length && focus; ++i) {
      QChar c(kCharacters[Pick(sizeof(kCharacters) - 1)]);
      int key = c == ' ' ? static_cast<int>(Qt::Key_Space) : c.toUpper().unicode();
      rk::drive::SendKey(*focus, key, Qt::NoModifier, QString(c));
      rk::drive::RunOnce();
      focus = QApplication::focusWidget();
    }
  }

  void ClickRow() {
    QWidget* window = WorkingWindow();
    if (!window) return;
    // The list widget has no meta-object of its own: found by its C++ type.
    std::vector<rk::platform::ListWidget*> lists;
    for (QWidget* child : window->findChildren<QWidget*>()) {
      auto* list = dynamic_cast<rk::platform::ListWidget*>(child);
      if (list && list->isVisible()) lists.push_back(list);
    }
    if (lists.empty()) return;
    rk::platform::ListWidget* list = lists[Pick(lists.size())];
    int shown = std::max(list->WholeRowsShown(), 1);
    QPointF at = list->RowRect(static_cast<int>(Pick(static_cast<size_t>(shown)))).center();
    static constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton};
    Qt::MouseButton button = kButtons[Pick(std::size(kButtons))];
    bool twice = Pick(4) == 0;
    for (int click = 0; click < (twice ? 2 : 1); ++click) {
      QMouseEvent press(click == 1 ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, at,
                        list->mapToGlobal(at), button, button, Qt::NoModifier);
      QApplication::sendEvent(list, &press);
      QMouseEvent release(QEvent::MouseButtonRelease, at, list->mapToGlobal(at), button,
                          Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(list, &release);
    }
  }

  void TurnTab() {
    QWidget* window = WorkingWindow();
    if (!window) return;
    QList<QTabBar*> bars = window->findChildren<QTabBar*>();
    if (bars.isEmpty()) return;
    QTabBar* bar = bars[static_cast<int>(Pick(bars.size()))];
    if (bar->isVisible() && bar->count() > 0) {
      bar->setCurrentIndex(static_cast<int>(Pick(static_cast<size_t>(bar->count()))));
    }
  }

  void CloseWindow() {
    QWidget* window = WorkingWindow();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window)) sub->close();
  }

  std::mt19937_64 random_;
};

}  // namespace

int main(int argc, char** argv) {
  rk::tools::ToolArguments arguments(
      {argv + 1, argv + argc},
      {.flags = {}, .valued = {"--seed", "--steps"}, .optionsFirst = false});
  if (!arguments.Problem().empty()) std::fprintf(stderr, "soak: %s\n", arguments.Problem().c_str());
  if (!arguments.Problem().empty() || arguments.HelpAsked() || arguments.Words().size() != 1) {
    std::fputs("usage: soak DATA-FOLDER [--seed N] [--steps N]\n", stderr);
    return 2;
  }
  seed = std::strtoull(arguments.Value("--seed").value_or("0").c_str(), nullptr, 10);
  long steps = std::strtol(arguments.Value("--steps").value_or("20000").c_str(), nullptr, 10);
  const std::string& folder = arguments.Words()[0];
  std::error_code error;
  std::filesystem::current_path(folder, error);
  if (error) {
    std::fprintf(stderr, "soak: cannot work in %s: %s\n", folder.c_str(), error.message().c_str());
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  rk::platform::InstallFontSubstitutions();
  rk::InitializeEnvironment();
  rk::ConnectFileLayerToThreads();
  rk::RegisterApplicationProcedures();
  soak::SavedRecords saved;
  soak::WatchFormSaves(saved, currentStep);
  if (!rk::drive::StartPastStartWindow()) {
    std::fputs("soak: the program did not start\n", stderr);
    return 1;
  }
  std::signal(SIGALRM, OnAlarm);
  Walk walk(seed);
  for (currentStep = 1; currentStep <= steps; ++currentStep) {
    alarm(kStepLimitSeconds);
    walk.Step();
    if (rk::UsedSlots() == 0) {
      std::fprintf(stderr, "soak: seed %llu step %ld: the program ended\n", seed, currentStep);
      return 1;
    }
  }
  // Leave as a person would: every message answered, then File, Exit.
  alarm(kStepLimitSeconds);
  for (int round = 0; round < 50 && rk::UsedSlots() > 0; ++round) {
    if (auto* box = [] {
          for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = dynamic_cast<rk::platform::MessageDialog*>(widget);
            if (dialog && dialog->isVisible()) return dialog;
          }
          return static_cast<rk::platform::MessageDialog*>(nullptr);
        }()) {
      box->findChildren<QPushButton*>().front()->click();
    }
    // A modal window (About) is closed first, as a person would.
    for (const char* text : {"OK", "Close"}) {
      if (QPushButton* button = rk::drive::ButtonNamed(text);
          button && button->window()->isModal()) {
        button->click();
      }
    }
    rk::drive::ChooseMenu(kExitItem);
    rk::drive::Settle(200);
  }
  alarm(0);
  if (rk::UsedSlots() > 0) {
    std::fprintf(stderr, "soak: seed %llu: the program would not end; open:", seed);
    for (QWidget* widget : QApplication::allWidgets()) {
      if (widget->isVisible() && !widget->windowTitle().isEmpty() &&
          (widget->isWindow() || qobject_cast<QMdiSubWindow*>(widget))) {
        std::fprintf(stderr, " [%s]", widget->windowTitle().toUtf8().constData());
      }
    }
    std::fputs("\n", stderr);
    return 1;
  }
  std::vector<std::string> missing = saved.Check(soak::ReadStoredFile);
  for (const std::string& problem : missing) {
    std::fprintf(stderr, "soak: seed %llu %s\n", seed, problem.c_str());
  }
  if (!missing.empty()) return 1;
  std::printf("soak: seed %llu: %ld steps, %zu saved records in their files\n", seed, steps,
              saved.Expected());
  return 0;
}
