// The width a text takes on a page when the page player draws it with a given
// font, so that the report engine can break long texts into lines before it
// writes them into a page's records.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/platform/qt/metafile_writer.h"

namespace rk::platform {

// The advance of `ansi` in the font's own units (the font's height is in the
// same units as the page's coordinates).
int32_t TextWidth(const LogicalFont& font, std::string_view ansi);

}  // namespace rk::platform
