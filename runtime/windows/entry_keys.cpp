#include "runtime/windows/entry_keys.h"

#include <Qt>

namespace rk {

std::optional<EntryKey> EntryKeyOf(int qtKey, bool ctrl) {
  switch (qtKey) {
    case Qt::Key_Backspace:
      return EntryKey::kBackspace;
    case Qt::Key_Delete:
    case Qt::Key_Clear:
      return EntryKey::kDelete;
    case Qt::Key_Home:
      return EntryKey::kHome;
    case Qt::Key_End:
      return EntryKey::kEnd;
    case Qt::Key_Left:
      return EntryKey::kLeft;
    case Qt::Key_Right:
      return EntryKey::kRight;
    case Qt::Key_Copy:
      return EntryKey::kCopy;
    case Qt::Key_Cut:
      return EntryKey::kCut;
    case Qt::Key_Paste:
      return EntryKey::kPaste;
    case Qt::Key_Escape:
      return EntryKey::kEscape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return EntryKey::kEnter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return EntryKey::kTab;
    case Qt::Key_Insert:
      return EntryKey::kInsert;
    case Qt::Key_C:
      if (ctrl) return EntryKey::kCopy;
      break;
    case Qt::Key_X:
      if (ctrl) return EntryKey::kCut;
      break;
    case Qt::Key_V:
      if (ctrl) return EntryKey::kPaste;
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace rk
