#include "runtime/core/picture_hooks.h"

#include "runtime/core/day_number.h"
#include "runtime/core/picture_stack.h"
#include "runtime/core/time_value.h"

namespace rk {

void FormatTopWithPicture(const char* picture) {
  FormatOnStack(std::string_view(picture ? picture : ""));
}

void DeformatTopWithPicture(const char* picture) {
  DeformatOnStack(std::string_view(picture ? picture : ""));
}

ValueHooks CalendarAndPictureHooks() {
  return ValueHooks{FormatTopWithPicture, DeformatTopWithPicture, PackedDateToDay,
                    DayToPackedDate,      PackedTimeToValue,      ValueToPackedTime};
}

}  // namespace rk
