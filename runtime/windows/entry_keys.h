// The editing keys of an entry field as Qt names them. Characters are not keys
// here: they arrive already translated and go to EntryEditor::Type.
#pragma once

#include <optional>

#include "runtime/windows/entry_editor.h"

namespace rk {

// The editing key a Qt key press means (Ctrl+C copies, Ctrl+X cuts, Ctrl+V
// pastes, as do the keyboard's own copy, cut and paste keys), or nothing.
std::optional<EntryKey> EntryKeyOf(int qtKey, bool ctrl);

}  // namespace rk
