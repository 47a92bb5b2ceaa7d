#include "tools/drive/program_driver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <chrono>
#include <thread>

#include "app/main_frame.h"
#include "runtime/platform/qt/frame_widget.h"
#include "runtime/platform/qt/menu_bar_builder.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/control.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"

namespace rk::drive {
namespace {

constexpr int kPause = 2;  // milliseconds between passes while waiting

}  // namespace

void RunOnce() {
  platform::TheScheduler().RunUntilIdle();
}

bool RunUntil(const std::function<bool()>& condition, int milliseconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    RunOnce();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(kPause));
  }
}

void Settle(int milliseconds) {
  RunUntil([] { return false; }, milliseconds);
}

QWidget* VisibleWindowTitled(const QString& title) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == title &&
        !dynamic_cast<platform::FrameWidget*>(widget)) {
      return widget;
    }
  }
  return nullptr;
}

bool AnswerPrintDialog(bool ok) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<platform::PrinterDialogWidget*>(widget);
    if (!dialog || !dialog->isVisible()) continue;
    dialog->done(ok ? QDialog::Accepted : QDialog::Rejected);
    RunOnce();
    return true;
  }
  return false;
}

QPushButton* ButtonNamed(const QString& text, QWidget* window) {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (window && top != window) continue;
    if (!top->isVisible()) continue;
    for (QPushButton* button : top->findChildren<QPushButton*>()) {
      if (button->text() == text && button->isVisible()) return button;
    }
  }
  return nullptr;
}

bool StartPastStartWindow() {
  if (!StartFirstThread(MAIN)) return false;
  const QString title = "REELKEEPER V1.0";
  QWidget* start = nullptr;
  bool shown = RunUntil([&] {
    start = VisibleWindowTitled(title);
    return start && !VisibleWindowTitled("Reading File") && !VisibleWindowTitled("Progress...");
  });
  QPushButton* next = shown ? ButtonNamed("Continue", start) : nullptr;
  if (!next) return false;
  next->click();
  return RunUntil([&] { return !VisibleWindowTitled(title); });
}

bool ChooseMenu(int32_t item) {
  platform::FrameWidget* frame = platform::FrameWidget::Current();
  QAction* action = frame ? platform::FindMenuAction(*frame->menuBar(), item) : nullptr;
  if (!action) return false;
  action->trigger();
  RunOnce();
  return true;
}

platform::ListWidget* ListOf(int32_t thread) {
  Window* window = CurrentWindowOf(thread);
  Control* list = window ? window->FindControl(1) : nullptr;
  return list ? dynamic_cast<platform::ListWidget*>(list->Widget()) : nullptr;
}

void SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(&widget, &press);
}

}  // namespace rk::drive
