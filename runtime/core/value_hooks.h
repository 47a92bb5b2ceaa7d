// Conversions that typed value references need from the picture and date
// modules. The hooks start out as those modules' own services
// (CalendarAndPictureHooks, picture_hooks.h); a test may put stand-ins in place.
#pragma once

#include <cstdint>

namespace rk {

struct ValueHooks {
  // Replaces the top of the value stack by its text formatted with `picture`.
  void (*formatTop)(const char* picture) = nullptr;
  // Replaces the top of the value stack by the value deformatted with `picture`.
  void (*deformatTop)(const char* picture) = nullptr;
  // Packed DATE (read as little-endian 32 bits) to day number; 0 when invalid.
  int32_t (*dateToDay)(uint32_t packed) = nullptr;
  // Day number to packed DATE; 0 (all zero) when invalid.
  uint32_t (*dayToDate)(int32_t day) = nullptr;
  // Packed TIME to time value; -1 when invalid.
  int32_t (*timeToValue)(uint32_t packed) = nullptr;
  // Time value to packed TIME; 0 when invalid.
  uint32_t (*valueToTime)(int32_t value) = nullptr;
};

// Installs the non-null members; the others keep what they were, so the picture
// and date modules can install theirs independently.
void SetValueHooks(const ValueHooks& hooks);
const ValueHooks& CurrentValueHooks();

}  // namespace rk
