#include "runtime/core/value_stack.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "runtime/core/collation.h"
#include "runtime/core/halt.h"
#include "runtime/core/number_text.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/core/text_length_limit.h"

namespace rk {
namespace {

constexpr size_t kPopAsRealLimit = 39;

// A std::malloc block holding a copy of text; null when allocation fails.
char* HeapCopy(const char* text, size_t length) {
  auto* block = static_cast<char*>(std::malloc(length == 0 ? 1 : length));
  if (block != nullptr && length != 0) std::memcpy(block, text, length);
  return block;
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

// Weighs the excess of the longer text against spaces; `sign` is +1 when the
// excess belongs to the first operand.
int CompareExcessWithSpaces(std::string_view excess, int sign, bool upper) {
  for (char ch : excess) {
    auto c = static_cast<uint8_t>(ch);
    if (c == ' ') continue;
    if (upper) c = ToUpper(c);
    return sign * (Weight(c) - Weight(' '));
  }
  return 0;
}

}  // namespace

int CompareSpacePadded(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  auto [da, db] = std::mismatch(a.data(), a.data() + n, b.data());
  if (da != a.data() + n)
    return Weight(static_cast<uint8_t>(*da)) - Weight(static_cast<uint8_t>(*db));
  if (a.size() > n) return CompareExcessWithSpaces(a.substr(n), 1, false);
  return CompareExcessWithSpaces(b.substr(n), -1, false);
}

SavedValueStack::~SavedValueStack() {
  for (size_t i = 0; i < depth_; ++i) ValueStack::Release(slots_[i]);
}

ValueStack::~ValueStack() {
  Clear();
}

void ValueStack::Swap(ValueStack& other) noexcept {
  std::swap(slots_, other.slots_);
  std::swap(depth_, other.depth_);
}

const char* ValueStack::TextOf(const Slot& slot) {
  return (slot.flags & kInline) ? slot.buffer : slot.text;
}

void ValueStack::Release(Slot& slot) {
  if (slot.flags & kOwned) std::free(const_cast<char*>(slot.text));
  slot = Slot{};
}

void ValueStack::CheckDepth(size_t needed) const {
  if (depth_ < needed) RuntimeError(runtime_error_code::kInternalError02, "value stack underflow");
}

ValueStack::Slot& ValueStack::NewSlot() {
  // Compiled expressions never nest deeper than 32; getting here is a fault in
  // the caller, and writing past the last slot is never an option.
  if (depth_ == kSlots) RuntimeError(runtime_error_code::kStackOverflow, "value stack");
  Slot& slot = slots_[depth_++];
  slot.flags = 0;
  slot.text = nullptr;
  slot.length = 0;  // the inline buffer is written only when used
  return slot;
}

ValueStack::Slot& ValueStack::TopSlot() {
  CheckDepth(1);
  return slots_[depth_ - 1];
}

const ValueStack::Slot& ValueStack::SlotBelow(size_t below) const {
  CheckDepth(below + 1);
  return slots_[depth_ - 1 - below];
}

void ValueStack::PushText(const char* text, size_t length) {
  Slot& slot = NewSlot();
  slot.text = length == 0 ? nullptr : text;
  slot.length = static_cast<uint32_t>(length);
}

void ValueStack::PushOwnedText(char* block, size_t length) {
  // The stack is about to refuse it, or the text is longer than any it holds.
  if (depth_ == kSlots || (block != nullptr && !TextLengthAllowed(length))) {
    std::free(block);
    block = nullptr;
  }
  Slot& slot = NewSlot();
  slot.flags = block != nullptr ? kOwned : 0;
  slot.text = block;
  slot.length = block != nullptr ? static_cast<uint32_t>(length) : 0;
}

void ValueStack::PushInline(const char* text, size_t length) {
  Slot& slot = NewSlot();
  slot.flags = kInline;
  // An empty text may come without any characters behind it (a null pointer).
  if (length != 0) std::memcpy(slot.buffer, text, length);
  slot.length = static_cast<uint32_t>(length);
}

void ValueStack::PushCopy(std::string_view text) {
  if (text.size() <= kInlineSize) {
    PushInline(text.data(), text.size());
  } else if (!TextLengthAllowed(text.size())) {
    PushEmpty();
  } else {
    PushOwnedText(HeapCopy(text.data(), text.size()), text.size());
  }
}

void ValueStack::PushEmpty() {
  PushText(nullptr, 0);
}

void ValueStack::PushLong(int32_t n) {
  char digits[12];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
  PushInline(digits, static_cast<size_t>(end - digits));
}

void ValueStack::PushReal(double x) {
  char text[kMaxRealText];
  PushCopy(std::string_view(text, RealToText(x, text)));
}

void ValueStack::PushBool(bool b) {
  if (b) {
    PushLong(1);
  } else {
    PushEmpty();
  }
}

std::string_view ValueStack::Peek(size_t below) const {
  const Slot& slot = SlotBelow(below);
  return slot.length == 0 ? std::string_view() : std::string_view(TextOf(slot), slot.length);
}

void ValueStack::Pop() {
  Release(TopSlot());
  --depth_;
}

size_t ValueStack::PopLength() {
  size_t length = TopLength();
  Pop();
  return length;
}

void ValueStack::PopToField(char* field, size_t size) {
  std::string_view text = Top();
  size_t n = std::min(size, text.size());
  if (n != 0) std::memmove(field, text.data(), n);
  std::memset(field + n, ' ', size - n);
  Pop();
}

void ValueStack::PopToCString(char* buffer, size_t size) {
  if (size == 0) return Pop();
  std::string_view text = Top();
  size_t n = std::min(size - 1, text.size());
  if (n != 0) std::memmove(buffer, text.data(), n);
  buffer[n] = '\0';
  Pop();
}

void ValueStack::PopToCountedText(char* buffer, size_t size) {
  if (size == 0) return Pop();
  std::string_view text = Top();
  size_t n = std::min({size - 1, text.size(), size_t{255}});
  if (n != 0) std::memmove(buffer + 1, text.data(), n);
  buffer[0] = static_cast<char>(n);
  Pop();
}

double ValueStack::PopAsReal() {
  double value = TextToReal(Top().substr(0, kPopAsRealLimit));
  Pop();
  return value;
}

int32_t ValueStack::PopAsLong() {
  return RealToLong(PopAsReal());
}

std::string ValueStack::PopString() {
  std::string text(Top());
  Pop();
  return text;
}

void ValueStack::PopToOwned(char*& block, size_t& length) {
  Slot& slot = TopSlot();
  length = slot.length;
  if (slot.flags & kOwned) {
    block = const_cast<char*>(slot.text);
    slot.flags = 0;  // handed over: Pop must not free it
  } else {
    block = length == 0 ? nullptr : HeapCopy(TextOf(slot), length);
    if (block == nullptr) length = 0;
  }
  Pop();
}

void ValueStack::MakeWritable() {
  Slot& slot = TopSlot();
  if (slot.flags != 0 || slot.length == 0) return;
  if (slot.length <= kInlineSize) {
    std::memcpy(slot.buffer, slot.text, slot.length);
    slot.flags = kInline;
    slot.text = nullptr;
    return;
  }
  char* copy = HeapCopy(slot.text, slot.length);
  slot.text = copy;
  slot.flags = copy != nullptr ? kOwned : 0;
  if (copy == nullptr) slot.length = 0;
}

char* ValueStack::WritableTop() {
  MakeWritable();
  const Slot& slot = TopSlot();
  return slot.length == 0 ? nullptr : const_cast<char*>(TextOf(slot));
}

void ValueStack::SetTopLength(size_t n) {
  Slot& slot = TopSlot();
  if (n <= slot.length) {
    slot.length = static_cast<uint32_t>(n);
    return;
  }
  auto* block = TextLengthAllowed(n) ? static_cast<char*>(std::malloc(n)) : nullptr;
  if (block == nullptr) {
    Release(slot);
    return;
  }
  if (slot.length != 0) std::memcpy(block, TextOf(slot), slot.length);
  std::memset(block + slot.length, ' ', n - slot.length);
  Release(slot);
  slot.flags = kOwned;
  slot.text = block;
  slot.length = static_cast<uint32_t>(n);
}

void ValueStack::Roll(size_t k) {
  if (k == 0) return;
  CheckDepth(k + 1);
  size_t from = depth_ - 1 - k;
  Slot moved = slots_[from];
  std::memmove(&slots_[from], &slots_[from + 1], k * sizeof(Slot));
  slots_[depth_ - 1] = moved;
}

std::unique_ptr<SavedValueStack> ValueStack::SaveStack() {
  if (depth_ == 0) return nullptr;
  auto saved = std::make_unique<SavedValueStack>();
  std::copy(slots_, slots_ + depth_, saved->slots_);
  saved->depth_ = depth_;
  depth_ = 0;
  return saved;
}

void ValueStack::RestoreStack(std::unique_ptr<SavedValueStack> saved) {
  Clear();
  if (!saved) return;
  std::copy(saved->slots_, saved->slots_ + saved->depth_, slots_);
  depth_ = saved->depth_;
  saved->depth_ = 0;
}

void ValueStack::Clear() {
  while (depth_ > 0) Pop();
}

void ValueStack::Concat() {
  CheckDepth(2);
  std::string_view second = Peek(1);
  std::string_view top = Peek(0);
  size_t length = second.size() + top.size();
  char* block = nullptr;
  if (length != 0 && TextLengthAllowed(length)) {
    block = static_cast<char*>(std::malloc(length));
    if (block != nullptr) {
      if (!second.empty()) std::memcpy(block, second.data(), second.size());
      if (!top.empty()) std::memcpy(block + second.size(), top.data(), top.size());
    }
  }
  Pop();
  Pop();
  PushOwnedText(block, length);
}

void ValueStack::ConcatReversed() {
  Roll(1);
  Concat();
}

int ValueStack::CompareTop() {
  CheckDepth(2);
  int result = Sign(CompareSpacePadded(Peek(1), Peek(0)));
  Pop();
  Pop();
  return result;
}

int ValueStack::CompareTopReversed() {
  return -CompareTop();
}

int ValueStack::ComparePrefix() {
  CheckDepth(2);
  std::string_view second = Peek(1);
  std::string_view top = Peek(0);
  size_t n = std::min(second.size(), top.size());
  int result = Sign(CompareSpacePadded(second.substr(0, n), top.substr(0, n)));
  Pop();
  Pop();
  return result;
}

int ValueStack::CompareNoCase() {
  CheckDepth(2);
  std::string_view second = Peek(1);
  std::string_view top = Peek(0);
  size_t n = std::min(second.size(), top.size());
  int result = n == 0 ? 0 : CompareCountedNoCase(second.data(), top.data(), n);
  if (result == 0) {
    result = second.size() > n ? CompareExcessWithSpaces(second.substr(n), 1, true)
                               : CompareExcessWithSpaces(top.substr(n), -1, true);
  }
  Pop();
  Pop();
  return Sign(result);
}

bool ValueStack::IsNonBlank() {
  std::string_view text = Top();
  bool nonBlank = text.find_first_not_of(' ') != std::string_view::npos;
  Pop();
  return nonBlank;
}

}  // namespace rk
