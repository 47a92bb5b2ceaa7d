// The runtime's message box as a widget. It only shows what it is given and
// reports the identifier of the button pressed (2, "cancel", for Escape or the
// close box) to the owning runtime thread as a kDialogResult message whose target
// is the dialog. It is opened without a nested event loop and deletes itself
// when it is finished.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <vector>

#include "runtime/platform/qt/platform_message.h"

namespace rk::platform {

class Scheduler;

struct MessageButton {
  QString text;
  int dialogId = 0;
  bool isDefault = false;
};

struct MessageContent {
  QString caption;
  QString text;  // line breaks as "\n"
  QIcon icon;    // null: no icon
  std::vector<MessageButton> buttons;
  bool applicationModal = false;
};

inline constexpr int kDialogCancelId = 2;

class MessageDialog : public QDialog {
 public:
  MessageDialog(const MessageContent& content, const QFont& font, QWidget* owner,
                Scheduler& scheduler, FiberId thread);

  // A dialog destroyed unanswered (its owner went away) still ends the wait.
  ~MessageDialog() override;

  uintptr_t Tag() const { return reinterpret_cast<uintptr_t>(this); }

  void reject() override;
  void done(int result) override;

 private:
  Scheduler& scheduler_;
  FiberId thread_;
  void Report(int result);

  bool reported_ = false;
};

}  // namespace rk::platform
