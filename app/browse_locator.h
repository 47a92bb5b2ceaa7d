// What the user has typed into a select's list for one order: the list moves to
// the first record at or after it. A locator keeps as many characters as the
// key's first field holds (four for a number); typing past that keeps counting,
// so that as many backspaces remove nothing visible before they reach the kept
// text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rk {

class BrowseLocator {
 public:
  explicit BrowseLocator(size_t capacity = 0) : capacity_(capacity) {}

  // Backspace (8), Space (0x20) or a key that typed a printable character.
  // Returns false for any other key, which leaves the locator as it was.
  bool Key(int32_t keyCode, int32_t character);
  // The kept text: the first `count` characters, at most the capacity.
  std::string Text() const { return text_.substr(0, Kept()); }
  int32_t Count() const { return count_; }

 private:
  size_t Kept() const;

  size_t capacity_;
  std::string text_;
  int32_t count_ = 0;
};

}  // namespace rk
