// The scroll thumb of a browse: a table of 100 values of the first component of
// the list's key, spread evenly between the first and the last record of the
// order, so that a thumb position becomes a key value to locate and a record's
// key value becomes a thumb position. Numbers are interpolated directly; texts
// through a four-character number in the base of an alphabet of upper-case
// letters, after the prefix that the first and last values share.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace rk {

inline constexpr int kThumbEntries = 100;

class ThumbTable {
 public:
  // An empty table (no records): every position maps to nothing.
  ThumbTable() = default;
  // Whole numbers are rounded to the nearest; other numbers keep their fraction.
  static ThumbTable Numeric(double low, double high, bool whole);
  static ThumbTable Text(std::string_view low, std::string_view high);

  bool empty() const { return !filled_; }
  // Entry 1 to 100, as the text to store in the key's first field.
  const std::string& Entry(int number) const;
  // The number of the first entry that is not below the value, 1 to 100;
  // 101 when every entry is below it.
  int FirstNotBelow(std::string_view value) const;

 private:
  bool filled_ = false;
  bool numeric_ = false;
  std::array<std::string, kThumbEntries> entries_;
};

// The letters a text thumb table counts in: the upper-case letters of the
// character classes, without digits and the characters that never sort as
// letters in a title (punctuation and space).
std::string ThumbAlphabet();

// The thumb position of a key value: the first entry not below it, with the
// first entry giving position 0.
int ThumbPositionOf(const ThumbTable& table, std::string_view value);

}  // namespace rk
