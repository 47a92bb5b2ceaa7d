// The value stack: 32 slots of text on which all string and mixed-type
// expression work happens; numbers travel on it as their decimal text.
//
// A slot holds a flags word, a pointer to its text, the length and a 20-byte
// inline buffer. Flags 0: the text belongs to somebody else (a field or literal)
// and is never changed in place; kOwned: a std::malloc block freed when the slot
// is popped; kInline: the text lives in the slot's own buffer (the pointer is then
// derived from the slot, so slots move freely).
//
// No text the stack builds is longer than kMaxTextLength (text_length_limit.h):
// a copy, concatenation or padding beyond it leaves the empty text and error 405.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace rk {

class SavedValueStack;

class ValueStack {
 public:
  static constexpr size_t kSlots = 32;
  static constexpr size_t kInlineSize = 20;
  static constexpr uint32_t kOwned = 1;
  static constexpr uint32_t kInline = 2;

  struct Slot {
    uint32_t flags = 0;
    const char* text = nullptr;  // unused when kInline is set
    uint32_t length = 0;
    char buffer[kInlineSize];
  };

  ValueStack() = default;
  ~ValueStack();
  ValueStack(const ValueStack&) = delete;
  ValueStack& operator=(const ValueStack&) = delete;
  // Exchanges the whole contents; owned texts change owner with their slots.
  void Swap(ValueStack& other) noexcept;

  // --- Pushing. Every push onto a full stack is a runtime error (401). -------
  void PushText(const char* text, size_t length);
  void PushText(std::string_view text) { PushText(text.data(), text.size()); }
  // block comes from std::malloc; the stack frees it.
  void PushOwnedText(char* block, size_t length);
  // A private copy: inline when it fits, else on the heap.
  void PushCopy(std::string_view text);
  void PushEmpty();
  void PushLong(int32_t n);
  void PushReal(double x);
  void PushBool(bool b);

  // --- Reading --------------------------------------------------------------
  size_t Depth() const { return depth_; }
  // The slot `below` places under the top (0 = the top).
  std::string_view Peek(size_t below = 0) const;
  std::string_view Top() const { return Peek(0); }
  size_t TopLength() const { return Peek(0).size(); }

  // --- Popping --------------------------------------------------------------
  void Pop();
  size_t PopLength();
  // At most size bytes, the rest of the field filled with spaces.
  void PopToField(char* field, size_t size);
  // At most size-1 bytes and a NUL.
  void PopToCString(char* buffer, size_t size);
  // A length byte, then at most size-1 bytes.
  void PopToCountedText(char* buffer, size_t size);
  double PopAsReal();
  int32_t PopAsLong();  // PopAsReal, then RealToLong
  std::string PopString();
  // Hands over an owned block, or makes a std::malloc copy (null when empty).
  void PopToOwned(char*& block, size_t& length);

  // --- Changing the top in place --------------------------------------------
  // A reference to foreign text becomes a private copy.
  void MakeWritable();
  // The top's text, writable; calls MakeWritable first.
  char* WritableTop();
  // Shorter: cut. Longer: the old text followed by spaces.
  void SetTopLength(size_t n);
  // Moves the slot k places below the top to the top.
  void Roll(size_t k);

  // Takes every slot off the stack (null when it is empty) / empties the stack
  // and puts the saved slots back.
  std::unique_ptr<SavedValueStack> SaveStack();
  void RestoreStack(std::unique_ptr<SavedValueStack> saved);
  void Clear();

  // --- Two-operand operations ----------------------------------------------
  void Concat();          // second followed by top
  void ConcatReversed();  // top followed by second
  // Pop both; sign of second compared with top, trailing spaces ignored,
  // collating weights deciding.
  int CompareTop();
  int CompareTopReversed();
  // As CompareTop over the length of the shorter text only.
  int ComparePrefix();
  // Case-insensitive; the longer text's excess compared against spaces.
  int CompareNoCase();
  // Clip and pop the top: true when anything remains.
  bool IsNonBlank();

 private:
  friend class SavedValueStack;
  Slot& NewSlot();
  Slot& TopSlot();
  const Slot& SlotBelow(size_t below) const;
  static const char* TextOf(const Slot& slot);
  static void Release(Slot& slot);
  void PushInline(const char* text, size_t length);
  void CheckDepth(size_t needed) const;

  Slot slots_[kSlots];
  size_t depth_ = 0;
};

// Slots taken off the stack by SaveStack, owned until RestoreStack puts them back.
class SavedValueStack {
 public:
  ~SavedValueStack();

 private:
  friend class ValueStack;
  ValueStack::Slot slots_[ValueStack::kSlots];
  size_t depth_ = 0;
};

// The stack of the runtime thread being served.
ValueStack& Values();

// Comparison of two texts under the value stack's rule: trailing spaces never
// matter; at the first differing byte the collating weights decide.
int CompareSpacePadded(std::string_view a, std::string_view b);

}  // namespace rk
