// Fonts of windows and controls from a definition's font record: an empty face,
// a size of 0, or a colour or style of -1 inherits the parent's value; with
// nothing to inherit the face is "System". Style bits: 0x7FF weight, 0x1000
// italic, 0x2000 underline, 0x4000 strikeout.
#pragma once

#include <optional>

#include "runtime/platform/qt/font_record.h"
#include "runtime/windows/definition_tree.h"

namespace rk {

// The font a record describes on top of `parent`.
platform::FontRecord FontFrom(const std::optional<FontRecord>& record,
                              const platform::FontRecord& parent);

// The font of a window without a font of its own.
platform::FontRecord SystemFont();

}  // namespace rk
