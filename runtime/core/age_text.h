// AGE: how old something born on one day is on another, as a short text.
#pragma once

#include <cstdint>
#include <string>

namespace rk {

// "<n> DAYS" below 61 days, "<n> MOS" up to 24 months, else "<n> YRS". The base
// day -1 means today. A birth that cannot be placed before the base (even a
// century earlier) gives 255 '*' characters.
std::string AgeText(int32_t birthDay, int32_t baseDay);

}  // namespace rk
