#include "runtime/core/pointer_array.h"

#include <cstdlib>
#include <cstring>

#include "runtime/core/halt.h"
#include "runtime/core/runtime_error_codes.h"

namespace rk {
namespace {

constexpr uint32_t kCapacities[] = {0,     8,     16,     32,     64,     128,
                                    256,   1024,  2048,   4096,   8192,   16000,
                                    32000, 65000, 130000, 250000, 500000, 1000000};
constexpr uint8_t kSteps = sizeof kCapacities / sizeof kCapacities[0];

constexpr const char* kOutOfMemoryText = "Out of memory in WSLARRAY!";

// One more element; a new block of the next capacity when the current is full.
void GrowByOne(PointerArray& array) {
  uint32_t needed = array.count + 1;
  if (needed > ArrayCapacity(array.step)) {
    // The last capacity is the ceiling: refuse rather than store beyond it.
    if (needed > kPointerArrayCeiling || array.step + 1 >= kSteps) {
      RuntimeError(runtime_error_code::kInternalError01, kOutOfMemoryText);
    }
    uint8_t step = array.step + 1;
    void* block = std::realloc(array.items, size_t{kCapacities[step]} * sizeof(ArrayElement*));
    if (block == nullptr) RuntimeError(runtime_error_code::kInternalError01, kOutOfMemoryText);
    array.items = static_cast<ArrayElement**>(block);
    array.step = step;
  }
  array.count = needed;
}

}  // namespace

uint32_t ArrayCapacity(uint8_t step) {
  return step < kSteps ? kCapacities[step] : 0;
}

void ArrayReset(PointerArray& array) {
  array = PointerArray{};
}

void ArrayInsert(PointerArray& array, ArrayElement* element, uint32_t i) {
  GrowByOne(array);
  uint32_t last = array.count - 1;
  if (i > last) i = last;
  std::memmove(&array.items[i + 1], &array.items[i], size_t{last - i} * sizeof(ArrayElement*));
  array.items[i] = element;
}

void ArrayRemove(PointerArray& array, uint32_t i, bool keep) {
  if (i >= array.count) return;
  if (!keep) delete array.items[i];
  std::memmove(&array.items[i], &array.items[i + 1],
               size_t{array.count - 1 - i} * sizeof(ArrayElement*));
  --array.count;
}

void ArrayFree(PointerArray& array) {
  std::free(array.items);
  ArrayReset(array);
}

void ArrayDestroy(PointerArray& array) {
  for (uint32_t i = 0; i < array.count; ++i) delete array.items[i];
  ArrayFree(array);
}

}  // namespace rk
