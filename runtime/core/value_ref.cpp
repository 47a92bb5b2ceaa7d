#include "runtime/core/value_ref.h"

#include <cstring>

#include "runtime/core/clipped_text.h"
#include "runtime/core/decimal_stack.h"
#include "runtime/core/halt.h"
#include "runtime/core/mbf.h"
#include "runtime/core/number_text.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/core/value_hooks.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

constexpr const char* kTypingErrorText = "Parameter typing error";

template <typename T>
T Load(const void* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <typename T>
void StoreAt(void* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

// A GROUP used as a value is the STRING of its raw bytes.
bool IsTextual(const ValueRef& ref) {
  return !(ref.flags & kRefPictureText) && (IsTextType(ref.Type()) || ref.Type() == kGroup);
}

bool IsPicture(const ValueRef& ref) {
  return ref.flags & kRefPictureText;
}

// A clean decimal text: optional '-', digits, optional '.' and digits.
bool IsPlainDecimal(std::string_view text) {
  size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      digits = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

// Exact when the text is plain digits; anything else goes through its double.
void PushTextDecimal(std::string_view text) {
  std::string_view trimmed = ClipBoth(text);
  if (IsPlainDecimal(trimmed)) {
    Decimals().PushText(trimmed);
  } else {
    Decimals().PushReal(TextToReal(text));
  }
}

// The display text of a picture reference, written after formatting the top.
void FormatTopIntoPictureText(ValueRef& ref) {
  CurrentValueHooks().formatTop(ref.picture);
  Values().PopToField(static_cast<char*>(ref.address), ref.size);
}

}  // namespace

ValueRef::ValueRef(const ValueRef& other)
    : flags(other.flags),
      size(other.size),
      address(other.address),
      count(other.count),
      picture(other.picture),
      record2(other.record2),
      own_(other.own_) {
  Repoint();
}

ValueRef& ValueRef::operator=(const ValueRef& other) {
  if (this != &other) {
    ValueRef copy(other);
    *this = std::move(copy);
  }
  return *this;
}

ValueRef::ValueRef(ValueRef&& other) noexcept
    : flags(other.flags),
      size(other.size),
      address(other.address),
      count(other.count),
      picture(other.picture),
      record2(other.record2),
      own_(std::move(other.own_)) {
  Repoint();
  other.Repoint();  // the moved-from reference no longer points into our buffer
}

ValueRef& ValueRef::operator=(ValueRef&& other) noexcept {
  if (this == &other) return *this;
  flags = other.flags;
  size = other.size;
  address = other.address;
  count = other.count;
  picture = other.picture;
  record2 = other.record2;
  own_ = std::move(other.own_);
  Repoint();
  other.Repoint();
  return *this;
}

void ValueRef::Repoint() {
  if (flags & (kRefCaptured | kRefOwnsCopy)) address = own_.data();
}

uint8_t* ValueRef::OwnBuffer(size_t bytes) {
  own_.assign(bytes, 0);
  flags |= kRefOwnsCopy;
  Repoint();
  return own_.data();
}

void ValueRef::CaptureLong(int32_t n) {
  own_.resize(sizeof n);
  std::memcpy(own_.data(), &n, sizeof n);
  flags = kLong | kRefCaptured;
  size = sizeof n;
  Repoint();
}

void ValueRef::CaptureReal(double x) {
  own_.resize(sizeof x);
  std::memcpy(own_.data(), &x, sizeof x);
  flags = kReal | kRefCaptured;
  size = sizeof x;
  Repoint();
}

void ValueRef::CaptureText(std::string_view text) {
  // Copied aside first: the text may be this reference's own value.
  std::vector<uint8_t> copy(text.begin(), text.end());
  own_.swap(copy);
  flags = kString | kRefCaptured;
  size = static_cast<uint32_t>(text.size());
  Repoint();
}

ValueRef MakeValueRef(uint32_t typeAndFlags, int32_t size, int places, void* address) {
  ValueRef ref;
  ref.flags = typeAndFlags & ~(kRefCaptured | kRefOwnsCopy);
  ref.address = address;
  uint8_t type = ref.Type();
  uint32_t bytes =
      size < 0 ? static_cast<uint32_t>(SimpleTypeSize(type)) : static_cast<uint32_t>(size);
  ref.size =
      IsTextType(type) || type == kGroup ? bytes : (bytes & 0xFF) | uint32_t(places & 0xFF) << 8;
  if (typeAndFlags & kRefCaptured) {
    if (address == nullptr) {
      ref.CaptureText({});
    } else if (type < kULong) {
      ref.CaptureLong(RefAsLong(ref));
    } else if (type <= kMbf8) {
      ref.CaptureReal(RefAsReal(ref));
    } else {
      ref.CaptureText(RefText(ref));
    }
  } else if (typeAndFlags & kRefOwnsCopy) {
    uint32_t length = ref.Size();
    uint8_t* buffer = ref.OwnBuffer(length);
    if (address != nullptr && length != 0) std::memcpy(buffer, address, length);
  }
  return ref;
}

std::optional<ValueRef> RefFromDescriptor(DescriptorReader& cursor, void* base) {
  DescriptorItem item;
  if (!cursor.Next(item)) return std::nullopt;
  uint8_t type = item.code == kGroup ? static_cast<uint8_t>(kString) : item.code;
  ValueRef ref = MakeValueRef(type, static_cast<int32_t>(item.size), item.places, base);
  if (item.dimensioned) {
    ref.flags |= kRefDimensioned;
    ref.count = item.count;
  }
  return ref;
}

std::string_view RefText(const ValueRef& ref) {
  const auto* text = static_cast<const char*>(ref.address);
  uint32_t size = ref.Size();
  if (text == nullptr || size == 0) return {};
  switch (ref.Type()) {
    case kString:
    case kTextArea:
    case kGroup:
      return {text, size};
    case kCString:
      return {text, strnlen(text, size)};
    case kPString:
      return {text + 1, std::min<uint32_t>(static_cast<uint8_t>(text[0]), size - 1)};
    default:
      return {};
  }
}

int32_t RefAsLong(const ValueRef& ref) {
  if (ref.IsNull()) return 0;
  if (IsPicture(ref)) {
    PushRef(ref);
    return Values().PopAsLong();
  }
  const void* at = ref.address;
  switch (ref.Type()) {
    case kByte:
      return Load<uint8_t>(at);
    case kShort:
      return Load<int16_t>(at);
    case kUShort:
      return Load<uint16_t>(at);
    case kDate:
      return CurrentValueHooks().dateToDay(Load<uint32_t>(at));
    case kTime:
      return CurrentValueHooks().timeToValue(Load<uint32_t>(at));
    case kLong:
      return Load<int32_t>(at);
    case kSReal:
    case kReal:
    case kMbf4:
    case kMbf8:
      return RealToLong(RefAsReal(ref));
    case kULong:
    case kDecimal:
    case kPDecimal:
      PushRefDecimal(ref);
      return Decimals().PopLong();
    default:
      PushRef(ref);
      return Values().PopAsLong();
  }
}

double RefAsReal(const ValueRef& ref) {
  if (ref.IsNull()) return 0;
  if (IsPicture(ref)) {
    PushRef(ref);
    return Values().PopAsReal();
  }
  const void* at = ref.address;
  switch (ref.Type()) {
    case kULong:
      return Load<uint32_t>(at);
    case kSReal:
      return Load<float>(at);
    case kReal:
      return Load<double>(at);
    case kMbf4:
      return Mbf4ToDouble(static_cast<const uint8_t*>(at));
    case kMbf8:
      return Mbf8ToDouble(static_cast<const uint8_t*>(at));
    case kDecimal:
    case kPDecimal:
      PushRefDecimal(ref);
      return Decimals().PopReal();
    default:
      if (IsIntegerType(ref.Type())) return RefAsLong(ref);
      if (IsTextual(ref)) return TextToReal(RefText(ref));
      PushRef(ref);  // raises the typing error
      return Values().PopAsReal();
  }
}

void PushRef(const ValueRef& ref) {
  if (ref.IsNull()) return Values().PushEmpty();
  if (IsPicture(ref)) {
    Values().PushText(static_cast<const char*>(ref.address), ref.size);
    CurrentValueHooks().deformatTop(ref.picture);
    return;
  }
  uint8_t type = ref.Type();
  if (IsIntegerType(type)) return Values().PushLong(RefAsLong(ref));
  if (IsExactDecimalType(type)) {
    PushRefDecimal(ref);
    return Values().PushCopy(Decimals().PopText());
  }
  if (IsRealType(type)) return Values().PushReal(RefAsReal(ref));
  if (IsTextual(ref)) return Values().PushText(RefText(ref));
  RuntimeError(runtime_error_code::kPushTypingError, kTypingErrorText);
}

void PushRefDecimal(const ValueRef& ref) {
  DecimalStack& decimals = Decimals();
  if (ref.IsNull()) return decimals.PushLong(0);
  if (IsPicture(ref) || IsTextual(ref)) {
    PushRef(ref);
    return PushTextDecimal(Values().PopString());
  }
  switch (ref.Type()) {
    case kULong:
      return decimals.PushULong(Load<uint32_t>(ref.address));
    case kDecimal:
      return decimals.PushDecimal(ref.address, ref.Size(), ref.Places());
    case kPDecimal:
      return decimals.PushPDecimal(ref.address, ref.Size(), ref.Places());
    default:
      if (IsIntegerType(ref.Type())) return decimals.PushLong(RefAsLong(ref));
      return decimals.PushReal(RefAsReal(ref));
  }
}

void PopDecimalInto(ValueRef& ref) {
  DecimalStack& decimals = Decimals();
  switch (ref.flags & (kRefCaptured | kRefPictureText) ? 0 : ref.Type()) {
    case kULong:
      return StoreAt<uint32_t>(ref.address, decimals.PopULong());
    case kDecimal:
      return decimals.PopToDecimal(ref.address, ref.Size(), ref.Places());
    case kPDecimal:
      return decimals.PopToPDecimal(ref.address, ref.Size(), ref.Places());
    default:
      Values().PushCopy(decimals.PopText());
      return AssignText(ref);
  }
}

void AssignLong(ValueRef& ref, int32_t n) {
  if (ref.flags & kRefCaptured) return ref.CaptureLong(n);
  if (ref.IsNull()) return;
  if (IsPicture(ref)) {
    Values().PushLong(n);
    return FormatTopIntoPictureText(ref);
  }
  void* at = ref.address;
  switch (ref.Type()) {
    case kByte:
      return StoreAt<uint8_t>(at, static_cast<uint8_t>(n));
    case kShort:
    case kUShort:
      return StoreAt<uint16_t>(at, static_cast<uint16_t>(n));
    case kDate:
      return StoreAt<uint32_t>(at, CurrentValueHooks().dayToDate(n));
    case kTime:
      return StoreAt<uint32_t>(at, CurrentValueHooks().valueToTime(n));
    case kLong:
      return StoreAt<int32_t>(at, n);
    case kULong:
    case kDecimal:
    case kPDecimal:
      Decimals().PushLong(n);
      return PopDecimalInto(ref);
    default:
      if (IsRealType(ref.Type())) return AssignReal(ref, n);
      Values().PushLong(n);
      return AssignText(ref);
  }
}

void AssignReal(ValueRef& ref, double x) {
  if (ref.flags & kRefCaptured) return ref.CaptureReal(x);
  if (ref.IsNull()) return;
  if (IsPicture(ref)) {
    Values().PushReal(x);
    return FormatTopIntoPictureText(ref);
  }
  void* at = ref.address;
  switch (ref.Type()) {
    case kULong:
    case kDecimal:
    case kPDecimal:
      Decimals().PushReal(x);
      return PopDecimalInto(ref);
    case kSReal:
      return StoreAt<float>(at, static_cast<float>(x));
    case kReal:
      return StoreAt<double>(at, x);
    case kMbf4:
      return DoubleToMbf4(x, static_cast<uint8_t*>(at));
    case kMbf8:
      return DoubleToMbf8(x, static_cast<uint8_t*>(at));
    default:
      if (IsIntegerType(ref.Type())) return AssignLong(ref, RealToLong(x));
      Values().PushReal(x);
      return AssignText(ref);
  }
}

void AssignText(ValueRef& ref) {
  ValueStack& values = Values();
  if (ref.flags & kRefCaptured) return ref.CaptureText(values.PopString());
  if (ref.IsNull()) return values.Pop();
  if (IsPicture(ref)) {
    // The text is read as a value, then shown again in the picture's form.
    CurrentValueHooks().deformatTop(ref.picture);
    return FormatTopIntoPictureText(ref);
  }
  auto* text = static_cast<char*>(ref.address);
  uint8_t type = ref.Type();
  switch (type) {
    case kString:
      return values.PopToField(text, ref.Size());
    case kCString:
      return values.PopToCString(text, ref.Size());
    case kPString:
      return values.PopToCountedText(text, ref.Size());
    case kULong:
    case kDecimal:
    case kPDecimal:
      PushTextDecimal(values.PopString());
      return PopDecimalInto(ref);
    default:
      if (IsIntegerType(type)) return AssignLong(ref, RealToLong(values.PopAsReal()));
      if (IsRealType(type)) return AssignReal(ref, values.PopAsReal());
      RuntimeError(runtime_error_code::kAssignTypingError, kTypingErrorText);
  }
}

void AssignRef(ValueRef& target, const ValueRef& source) {
  bool exactTarget = !IsPicture(target) && IsExactDecimalType(target.Type());
  bool exactSource = !IsPicture(source) && IsExactDecimalType(source.Type());
  if (exactTarget && exactSource && !(target.flags & kRefCaptured)) {
    PushRefDecimal(source);
    return PopDecimalInto(target);
  }
  if (IsTextual(target) && IsTextual(source)) {
    PushRef(source);
    return AssignText(target);
  }
  if (!IsPicture(source) && IsIntegerType(source.Type()))
    return AssignLong(target, RefAsLong(source));
  AssignReal(target, RefAsReal(source));
}

int CompareRefs(const ValueRef& a, const ValueRef& b) {
  bool integers =
      !IsPicture(a) && !IsPicture(b) && IsIntegerType(a.Type()) && IsIntegerType(b.Type());
  if (integers) {
    int32_t x = RefAsLong(a);
    int32_t y = RefAsLong(b);
    return (x > y) - (x < y);
  }
  if (IsTextual(a) && IsTextual(b)) {
    int d = CompareSpacePadded(RefText(a), RefText(b));
    return (d > 0) - (d < 0);
  }
  bool real = (!IsPicture(a) && IsRealType(a.Type())) || (!IsPicture(b) && IsRealType(b.Type()));
  if (real || IsTextual(a) != IsTextual(b)) {
    double x = RefAsReal(a);
    double y = RefAsReal(b);
    if (ApproximatelyEqual(x, y)) return 0;
    return x < y ? -1 : 1;
  }
  PushRefDecimal(a);
  PushRefDecimal(b);
  return Decimals().Compare();
}

bool IsTrue(const ValueRef& ref) {
  if (ref.IsNull()) return false;
  if (!IsPicture(ref)) {
    if (IsIntegerType(ref.Type())) return RefAsLong(ref) != 0;
    if (IsExactDecimalType(ref.Type())) {
      PushRefDecimal(ref);
      return !Decimals().PopIsZero();
    }
    if (IsTextual(ref)) return RefText(ref).find_first_not_of(' ') != std::string_view::npos;
  }
  return !ApproximatelyEqual(RefAsReal(ref), 0);
}

}  // namespace rk
