#include "runtime/platform/qt/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

QClipboard* SystemClipboard() {
  return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

void SetClipboardText(std::string_view text) {
  if (QClipboard* clipboard = SystemClipboard()) clipboard->setText(FromAnsi(text));
}

std::string ClipboardText() {
  QClipboard* clipboard = SystemClipboard();
  return clipboard ? ToAnsi(clipboard->text()) : std::string();
}

bool ClipboardHasText() {
  QClipboard* clipboard = SystemClipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  return data && data->hasText();
}

}  // namespace rk::platform
