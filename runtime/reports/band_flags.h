// The flag bits of a report band (+5 of a band record) that the engine reads.
// Group headers need no flag: the engine keeps every group header with the band
// placed after it (report_layout.h, page_placer.h).
#pragma once

#include <cstdint>

namespace rk::band_flag {

// A detail band placed at its own x and y on the page; it takes no height.
inline constexpr int32_t kAbsolute = 0x1;
// The band stays on the page of the band placed after it.
inline constexpr int32_t kKeepWithNext = 0x2;

}  // namespace rk::band_flag
