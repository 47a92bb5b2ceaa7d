#include "runtime/platform/qt/message_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "runtime/platform/qt/context_menu_block.h"
#include "runtime/platform/qt/message_layout.h"
#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

MessageDialog::MessageDialog(const MessageContent& content, const QFont& font, QWidget* owner,
                             Scheduler& scheduler, FiberId thread)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      scheduler_(scheduler),
      thread_(thread) {
  BlockContextMenus();
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(font);
  setWindowTitle(content.caption);
  // Modal to the whole program only when asked; otherwise the owner's thread
  // keeps its own windows from taking input, and other threads' windows, which
  // may share the owner's frame, keep working.
  setWindowModality(content.applicationModal ? Qt::ApplicationModal : Qt::NonModal);
  MessageLayout layout = LayOutMessage(font, content.text, !content.icon.isNull(),
                                       static_cast<int>(content.buttons.size()));
  setFixedSize(layout.dialog);

  if (!content.icon.isNull()) {
    auto* icon = new QLabel(this);
    icon->setPixmap(content.icon.pixmap(layout.icon.size()));
    icon->setGeometry(layout.icon);
  }
  auto* text = new QLabel(content.text, this);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  text->setGeometry(layout.text);

  for (size_t i = 0; i < content.buttons.size(); ++i) {
    const MessageButton& spec = content.buttons[i];
    auto* button = new QPushButton(spec.text, this);
    button->setGeometry(layout.buttons[i]);
    button->setAutoDefault(false);
    button->setDefault(spec.isDefault);
    int id = spec.dialogId;
    connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
    if (spec.isDefault) button->setFocus();
  }
}

MessageDialog::~MessageDialog() {
  Report(kDialogCancelId);
}

void MessageDialog::reject() {
  done(kDialogCancelId);
}

void MessageDialog::done(int result) {
  Report(result);
  QDialog::done(result);
}

void MessageDialog::Report(int result) {
  if (reported_) return;
  reported_ = true;
  scheduler_.Post(thread_, {MessageKind::kDialogResult, Tag(), result, nullptr});
}

}  // namespace rk::platform
