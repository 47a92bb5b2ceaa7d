// The picture and calendar services that typed value references reach through
// their hooks: formatting and deformatting the display text of a picture
// reference, and the packed DATE and TIME conversions.
#pragma once

#include "runtime/core/value_hooks.h"

namespace rk {

// Replace the top of the value stack by its text formatted (resp. deformatted)
// with a NUL-terminated picture text; a null picture counts as no picture.
void FormatTopWithPicture(const char* picture);
void DeformatTopWithPicture(const char* picture);

// Every hook filled with the services above and those of day_number.h and
// time_value.h; these are the hooks in force unless a test replaces them.
ValueHooks CalendarAndPictureHooks();

}  // namespace rk
