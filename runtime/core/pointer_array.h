// A small growable array of object pointers for the runtime's own lists (open
// files, views). It grows along a fixed table of capacities rather than by
// doubling, refuses to grow beyond 1000000 elements, and can destroy the objects
// it holds.
//
// Layout: capacity step (index into the capacity table, 0 = no storage), the
// storage block (capacity pointers) and the count of elements in use.
#pragma once

#include <cstdint>

namespace rk {

// Objects kept in a pointer array; removing or destroying them deletes them.
class ArrayElement {
 public:
  virtual ~ArrayElement() = default;
};

struct PointerArray {
  uint8_t step = 0;
  ArrayElement** items = nullptr;
  uint32_t count = 0;
};

inline constexpr uint32_t kPointerArrayCeiling = 1000000;

// Capacity in elements of a capacity step; 0 beyond the table.
uint32_t ArrayCapacity(uint8_t step);

// Forgets the storage without freeing it.
void ArrayReset(PointerArray& array);
// No bounds check: callers keep i below count.
inline ArrayElement* ArrayAt(const PointerArray& array, uint32_t i) {
  return array.items[i];
}
// Grows by one and stores element at i (at the end when i is beyond it). Growing
// past the ceiling, or running out of memory, is runtime error 501.
void ArrayInsert(PointerArray& array, ArrayElement* element, uint32_t i);
// Deletes the element unless keep is set, then closes the gap. An index beyond
// the count is ignored.
void ArrayRemove(PointerArray& array, uint32_t i, bool keep);
// Frees the storage (not the elements) and resets.
void ArrayFree(PointerArray& array);
// Deletes every element, then frees the storage.
void ArrayDestroy(PointerArray& array);

}  // namespace rk
