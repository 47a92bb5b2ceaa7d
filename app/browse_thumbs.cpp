#include "app/browse_thumbs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime/core/clipped_text.h"
#include "runtime/core/collation.h"

namespace rk {
namespace {

// Characters that never count as letters of a title, whatever the character
// classes say: 30 punctuation marks and the space.
constexpr std::string_view kExcluded = "`!\"\xA3$%^&*()'-=_+][#;~@:/.,?\\| ";
constexpr size_t kDigits = 4;

std::string NumberText(double value, bool whole) {
  if (whole) return std::to_string(std::llround(value));
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

// The four characters after the prefix, upper-cased, as a number whose digits
// are the characters' places in the alphabet (0 for any other character).
int64_t TextNumber(std::string_view text, std::string_view alphabet) {
  int64_t base = static_cast<int64_t>(alphabet.size()) + 1;
  int64_t number = 0;
  for (size_t i = 0; i < kDigits; ++i) {
    uint8_t c = i < text.size() ? ToUpper(static_cast<uint8_t>(text[i])) : ' ';
    size_t place = alphabet.find(static_cast<char>(c));
    number =
        number * base + (place == std::string_view::npos ? 0 : static_cast<int64_t>(place) + 1);
  }
  return number;
}

std::string NumberTextOf(int64_t number, std::string_view alphabet) {
  int64_t base = static_cast<int64_t>(alphabet.size()) + 1;
  std::string digits(kDigits, ' ');
  for (size_t i = kDigits; i-- > 0;) {
    int64_t digit = number % base;
    number /= base;
    digits[i] = digit == 0 ? ' ' : alphabet[static_cast<size_t>(digit - 1)];
  }
  return digits;
}

size_t CommonPrefix(std::string_view a, std::string_view b) {
  size_t n = 0;
  while (n < a.size() && n < b.size() &&
         ToUpper(static_cast<uint8_t>(a[n])) == ToUpper(static_cast<uint8_t>(b[n]))) {
    ++n;
  }
  return n;
}

}  // namespace

std::string ThumbAlphabet() {
  std::string alphabet;
  for (int c = 1; c <= 255; ++c) {
    auto byte = static_cast<uint8_t>(c);
    if ((CharacterClass(byte) & kClassUpper) == 0 || (CharacterClass(byte) & kClassDigit) != 0) {
      continue;
    }
    if (kExcluded.find(static_cast<char>(byte)) != std::string_view::npos) continue;
    alphabet.push_back(static_cast<char>(byte));
  }
  return alphabet;
}

ThumbTable ThumbTable::Numeric(double low, double high, bool whole) {
  ThumbTable table;
  table.filled_ = true;
  table.numeric_ = true;
  for (int i = 0; i < kThumbEntries; ++i) {
    double value = i == kThumbEntries - 1 ? high : low + i * (high - low) / (kThumbEntries - 1);
    table.entries_[static_cast<size_t>(i)] = NumberText(value, whole);
  }
  return table;
}

ThumbTable ThumbTable::Text(std::string_view lowText, std::string_view highText) {
  std::string low(ClipRight(lowText));
  std::string high(ClipRight(highText));
  ThumbTable table;
  table.filled_ = true;
  std::string alphabet = ThumbAlphabet();
  size_t prefix = CommonPrefix(low, high);
  std::string_view lowRest = std::string_view(low).substr(prefix);
  std::string_view highRest = std::string_view(high).substr(prefix);
  int64_t from = TextNumber(lowRest, alphabet);
  int64_t to = TextNumber(highRest, alphabet);
  std::string head(low.substr(0, prefix));
  for (int i = 0; i < kThumbEntries; ++i) {
    std::string tail;
    if (i == 0) {
      tail = std::string(lowRest.substr(0, std::min(kDigits, lowRest.size())));
    } else if (i == kThumbEntries - 1) {
      tail = std::string(highRest.substr(0, std::min(kDigits, highRest.size())));
    } else {
      tail = NumberTextOf(from + (to - from) * i / (kThumbEntries - 1), alphabet);
    }
    table.entries_[static_cast<size_t>(i)] = std::string(ClipRight(head + tail));
  }
  return table;
}

const std::string& ThumbTable::Entry(int number) const {
  return entries_.at(static_cast<size_t>(std::clamp(number, 1, kThumbEntries) - 1));
}

int ThumbTable::FirstNotBelow(std::string_view value) const {
  std::string wanted(ClipRight(value));
  double number = numeric_ ? std::strtod(wanted.c_str(), nullptr) : 0;
  for (int i = 0; i < kThumbEntries; ++i) {
    const std::string& entry = entries_[static_cast<size_t>(i)];
    bool notBelow = numeric_ ? std::strtod(entry.c_str(), nullptr) >= number
                             : CompareCollatedNoCase(entry.c_str(), wanted.c_str()) >= 0;
    if (notBelow) return i + 1;
  }
  return kThumbEntries + 1;
}

int ThumbPositionOf(const ThumbTable& table, std::string_view value) {
  if (table.empty()) return 0;
  int first = table.FirstNotBelow(value);
  return first == 1 ? 0 : first;
}

}  // namespace rk
