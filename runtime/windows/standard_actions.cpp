#include "runtime/windows/standard_actions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include "runtime/platform/qt/frame_widget.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/platform/qt/scheduler.h"

namespace rk {
namespace {

void Arrange(void (platform::FrameWidget::*arrangement)()) {
  if (platform::FrameWidget* frame = platform::FrameWidget::Current()) (frame->*arrangement)();
}

// An edit command for the control with the focus: its own slot when it has one
// (Qt's editors do), else the command's key, which the runtime's own editing
// controls answer like any typed key.
void SendEditCommand(const char* slot, QKeySequence::StandardKey fallbackKey) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return;
  if (focus->metaObject()->indexOfMethod(QByteArray(slot) + "()") >= 0) {
    QMetaObject::invokeMethod(focus, slot);
    return;
  }
  QKeySequence sequence(fallbackKey);
  if (sequence.isEmpty()) return;
  QKeyCombination key = sequence[0];
  QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
  QApplication::sendEvent(focus, &press);
}

void OpenPrintSetup() {
  QWidget* owner = platform::FrameWidget::Current();
  if (!owner) owner = QApplication::activeWindow();
  // Nobody waits for this dialog: it changes the shared settings when confirmed.
  auto* dialog = new platform::PrinterDialogWidget(platform::SharedPrinter(), {}, true, owner,
                                                   platform::TheScheduler(), 0);
  dialog->open();
}

}  // namespace

void RunStandardAction(int32_t action, const ActionWindow& window) {
  using namespace standard_action;
  switch (action) {
    case kTile:
    case kTileVertically:
      Arrange(&platform::FrameWidget::TileVertically);
      break;
    case kTileHorizontally:
      Arrange(&platform::FrameWidget::TileHorizontally);
      break;
    case kCascade:
      Arrange(&platform::FrameWidget::Cascade);
      break;
    case kArrangeIcons:
      Arrange(&platform::FrameWidget::ArrangeIcons);
      break;
    case kHelpContents:
    case kHelpOnHelp:
    case kHelpSearch:
    case kHelpTopic:
      break;  // no help viewer: with or without a help file there is nothing to show
    case kCut:
      SendEditCommand("cut", QKeySequence::Cut);
      break;
    case kCopy:
      SendEditCommand("copy", QKeySequence::Copy);
      break;
    case kPaste:
      SendEditCommand("paste", QKeySequence::Paste);
      break;
    case kClear:
      SendEditCommand("del", QKeySequence::Delete);
      break;
    case kUndo:
      SendEditCommand("undo", QKeySequence::Undo);
      break;
    case kClose:
      if (window.thread != 0) {
        platform::TheScheduler().Post(
            window.thread, {platform::MessageKind::kCloseRequest, window.target, 0, nullptr});
      }
      break;
    case kPrintSetup:
      OpenPrintSetup();
      break;
    default:
      break;
  }
}

}  // namespace rk
