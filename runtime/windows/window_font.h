// Fonts of windows and controls from a definition's font record: an empty face,
// a size of 0, or a colour or style of -1 inherits the parent's value; with
// nothing to inherit the face is "System". Style bits: 0x7FF weight, 0x1000
// italic, 0x2000 underline, 0x4000 strikeout.
#pragma once

#include <QFont>
#include <optional>

#include "runtime/windows/definition_tree.h"

namespace rk {

// The font a record describes on top of `parent`.
QFont FontFrom(const std::optional<FontRecord>& record, const QFont& parent);

// The font of a window without a font of its own.
QFont SystemFont();

}  // namespace rk
