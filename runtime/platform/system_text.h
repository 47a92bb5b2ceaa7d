// The system's own idea of Windows-1252 characters: its upper and lower case and
// its linguistic string comparison. Deterministic and independent of the user's
// locale, so that collation built from it is the same on every machine.
#pragma once

#include <cstdint>
#include <string_view>

namespace rk::platform {

bool SystemIsUpper(uint8_t c);
bool SystemIsLower(uint8_t c);
// The other-case form, or c itself when there is none (for example sharp s).
uint8_t SystemToUpper(uint8_t c);
uint8_t SystemToLower(uint8_t c);

// Linguistic comparison of two 1252 texts, result -1, 0 or 1. Symbols sort
// before digits, digits before letters; letters sort by their base letter first,
// then by accent, then lower case before upper case. Case-insensitive comparison
// skips the last level.
int SystemCompareText(std::string_view a, std::string_view b);
int SystemCompareTextNoCase(std::string_view a, std::string_view b);

}  // namespace rk::platform
