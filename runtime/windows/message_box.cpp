#include "runtime/windows/message_box.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>
#include <array>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/dialog_wait.h"
#include "runtime/windows/icon_lookup.h"
#include "runtime/windows/thread_input.h"

namespace rk {
namespace {

struct ButtonKind {
  int32_t mask;
  const char* text;
  int dialogId;
};

constexpr std::array<ButtonKind, 8> kButtons = {{{kButtonOk, "OK", 1},
                                                 {kButtonYes, "&Yes", 6},
                                                 {kButtonNo, "&No", 7},
                                                 {kButtonAbort, "&Abort", 3},
                                                 {kButtonRetry, "&Retry", 4},
                                                 {kButtonIgnore, "&Ignore", 5},
                                                 {kButtonCancel, "Cancel", 2},
                                                 {kButtonHelp, "&Help", 9}}};

int32_t PresentButtons(int32_t buttons) {
  int32_t present = buttons & 0xFF;
  return present == 0 ? kButtonOk : present;
}

int32_t ValueOfDialogId(int64_t dialogId) {
  for (const ButtonKind& kind : kButtons) {
    if (kind.dialogId == dialogId) return kind.mask;
  }
  return 0;
}

QIcon MessageIcon(std::string_view name) {
  QString wanted = platform::FromAnsi(name).trimmed();
  if (wanted.isEmpty()) return {};
  struct SystemIcon {
    const char* name;
    QStyle::StandardPixmap pixmap;
  };
  static const SystemIcon kSystemIcons[] = {{"Hand", QStyle::SP_MessageBoxCritical},
                                            {"Question", QStyle::SP_MessageBoxQuestion},
                                            {"Exclamation", QStyle::SP_MessageBoxWarning},
                                            {"Asterisk", QStyle::SP_MessageBoxInformation}};
  for (const SystemIcon& icon : kSystemIcons) {
    if (wanted.compare(icon.name, Qt::CaseInsensitive) == 0) {
      return QApplication::style()->standardIcon(icon.pixmap);
    }
  }
  return IconNamed(name);  // an icon of the program's or a file; null when neither
}

platform::MessageContent ContentOf(std::string_view text, std::string_view caption,
                                   std::string_view iconName, int32_t buttons, int32_t defaultMask,
                                   bool systemModal) {
  platform::MessageContent content;
  content.caption = platform::FromAnsi(caption);
  content.text = platform::FromAnsi(MessageBoxText(text)).replace("\r\n", "\n");
  content.icon = MessageIcon(iconName);
  content.applicationModal = systemModal;
  int32_t present = PresentButtons(buttons);
  int32_t defaultButton = MessageDefaultButton(buttons, defaultMask);
  for (const ButtonKind& kind : kButtons) {
    if (present & kind.mask) {
      content.buttons.push_back({kind.text, kind.dialogId, kind.mask == defaultButton});
    }
  }
  return content;
}

}  // namespace

std::string MessageBoxText(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c == '|') {
      result += "\r\n";
    } else {
      result += c;
    }
    if (result.size() >= kMessageTextLimit) break;
  }
  if (result.size() > kMessageTextLimit) result.resize(kMessageTextLimit);
  return result;
}

int32_t MessageDefaultButton(int32_t buttons, int32_t defaultMask) {
  int32_t present = PresentButtons(buttons);
  for (const ButtonKind& kind : kButtons) {
    if ((defaultMask & kind.mask) && (present & kind.mask)) return kind.mask;
  }
  for (const ButtonKind& kind : kButtons) {
    if (present & kind.mask) return kind.mask;
  }
  return kButtonOk;
}

namespace {

// Shows the box for the running thread and waits for the button; the thread's
// windows take no input meanwhile. With `keepLock` no other thread runs either.
int32_t ShowMessageBox(std::string_view text, std::string_view caption, std::string_view iconName,
                       int32_t buttons, int32_t defaultMask, bool systemModal, bool keepLock) {
  platform::Scheduler& scheduler = platform::TheScheduler();
  if (scheduler.Current() == 0 || !QApplication::instance()) return 0;
  QFont font = platform::MakeFont({"Helv", 8, 700, false, false, false});
  QPointer<QWidget> focusBefore = QApplication::focusWidget();
  auto* dialog = new platform::MessageDialog(
      ContentOf(text, caption, iconName, buttons, defaultMask, systemModal), font, DialogOwner(),
      scheduler, scheduler.Current());
  uintptr_t tag = dialog->Tag();
  int64_t result = 0;
  {
    ThreadDialogScope modal(*dialog);
    dialog->show();
    result = keepLock ? WaitForDialogResultKeepingLock(tag) : WaitForDialogResult(tag);
  }
  if (focusBefore) focusBefore->setFocus();
  return ValueOfDialogId(result);
}

}  // namespace

int32_t MESSAGE(std::string_view text, std::string_view caption, std::string_view iconName,
                int32_t buttons, int32_t defaultMask, bool systemModal) {
  return ShowMessageBox(text, caption, iconName, buttons, defaultMask, systemModal, false);
}

int32_t MessageKeepingLock(std::string_view text, std::string_view caption,
                           std::string_view iconName, int32_t buttons, int32_t defaultMask,
                           bool systemModal) {
  return ShowMessageBox(text, caption, iconName, buttons, defaultMask, systemModal, true);
}

}  // namespace rk
