// Typed value references: how the runtime reads and writes a value whose type
// it learns only at run time (bound variables, control fields, record fields).
//
// flags: bits 0-4 the type code; kRefPictureText: the data is the display text of
// a picture (address and length of the text, `picture` the picture) and its value
// is that text deformatted; kRefDimensioned: `count` elements; kRefCaptured: the
// value was copied into the reference when it was made; kRefOwnsCopy: the
// reference owns a private copy of the data; kRefWholeRecord: a whole record,
// `address` and `record2` being the two record pointers of its file.
// size: bytes + 256 * decimal places (places only for DECIMAL and PDECIMAL); for
// texts the whole word is the length.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/core/type_codes.h"
#include "runtime/core/type_descriptor.h"

namespace rk {

inline constexpr uint32_t kRefTypeMask = 0x1F;
inline constexpr uint32_t kRefPictureText = 1u << 5;
inline constexpr uint32_t kRefDimensioned = 1u << 6;
inline constexpr uint32_t kRefCaptured = 1u << 7;
inline constexpr uint32_t kRefOwnsCopy = 1u << 8;
inline constexpr uint32_t kRefWholeRecord = 1u << 9;

class ValueRef {
 public:
  ValueRef() = default;
  ValueRef(const ValueRef& other);
  ValueRef& operator=(const ValueRef& other);
  ValueRef(ValueRef&& other) noexcept;
  ValueRef& operator=(ValueRef&& other) noexcept;

  uint8_t Type() const { return static_cast<uint8_t>(flags & kRefTypeMask); }
  uint32_t Size() const { return IsTextType(Type()) ? size : size & 0xFF; }
  int Places() const { return static_cast<int>((size >> 8) & 0xFF); }
  bool IsNull() const { return address == nullptr && !(flags & kRefCaptured); }

  // Replaces the value of a captured reference and its type.
  void CaptureLong(int32_t n);
  void CaptureReal(double x);
  void CaptureText(std::string_view text);
  // Gives the reference a private buffer of `bytes` bytes and points at it.
  uint8_t* OwnBuffer(size_t bytes);

  uint32_t flags = 0;
  uint32_t size = 0;
  void* address = nullptr;
  uint32_t count = 0;             // dimensioned: the element count
  const char* picture = nullptr;  // picture text references
  void* record2 = nullptr;        // whole-record references

 private:
  void Repoint();
  std::vector<uint8_t> own_;  // captured value or private copy; address points here
};

// A reference of the given type code and flags; size -1 means the size of the
// simple type. kRefCaptured reads the current value at once (integers below
// ULONG as LONG, types ULONG-MBF8 as double, texts as an owned copy);
// kRefOwnsCopy allocates a private buffer filled from address (empty when null).
ValueRef MakeValueRef(uint32_t typeAndFlags, int32_t size, int places, void* address);

// Reads one item of a descriptor: texts keep their length, decimals take size and
// places, a GROUP becomes a STRING of the group's size, a dimension sets
// kRefDimensioned and the count. Nothing at a 0 byte, the end or damage.
std::optional<ValueRef> RefFromDescriptor(DescriptorReader& cursor, void* base);

// The text of a text-type reference (STRING and the text area over their whole
// length, CSTRING up to the NUL, PSTRING its counted text); empty otherwise.
std::string_view RefText(const ValueRef& ref);

int32_t RefAsLong(const ValueRef& ref);
double RefAsReal(const ValueRef& ref);
// Pushes the value as one value-stack slot; a type without text form is runtime
// error 3.
void PushRef(const ValueRef& ref);
// Pushes the value onto the decimal stack.
void PushRefDecimal(const ValueRef& ref);
// Pops the decimal stack into an ULONG, DECIMAL or PDECIMAL reference.
void PopDecimalInto(ValueRef& ref);

void AssignLong(ValueRef& ref, int32_t n);
void AssignReal(ValueRef& ref, double x);
// Pops the top of the value stack into the reference.
void AssignText(ValueRef& ref);
void AssignRef(ValueRef& target, const ValueRef& source);
// -1, 0 or 1.
int CompareRefs(const ValueRef& a, const ValueRef& b);
bool IsTrue(const ValueRef& ref);

}  // namespace rk
