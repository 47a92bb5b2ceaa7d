#include "runtime/core/collation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "runtime/platform/code_page.h"
#include "runtime/platform/system_text.h"

namespace rk {
namespace {

using Table = std::array<uint8_t, 256>;

struct CharacterSets {
  Table ansiWeights;
  Table oemWeights;
  Table casePairs;  // partner of the other case, 0 for non-letters
  Table classes;
  std::array<Digraph, kMaxDigraphs> digraphs{};
  size_t digraphCount = 0;
  bool oem = false;
};

Table IdentityTable() {
  Table t;
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
  return t;
}

void SetAsciiCase(CharacterSets& s) {
  s.casePairs.fill(0);
  s.classes.fill(0);
  for (int c = 'A'; c <= 'Z'; ++c) {
    s.casePairs[c] = static_cast<uint8_t>(c + 0x20);
    s.casePairs[c + 0x20] = static_cast<uint8_t>(c);
    s.classes[c] = kClassUpper;
    s.classes[c + 0x20] = kClassLower;
  }
  for (int c = '0'; c <= '9'; ++c) s.classes[c] = kClassDigit;
}

CharacterSets InitialSets() {
  CharacterSets s;
  s.ansiWeights = IdentityTable();
  s.oemWeights = IdentityTable();
  SetAsciiCase(s);
  return s;
}

CharacterSets& Sets() {
  static CharacterSets sets = InitialSets();
  return sets;
}

const Table& ActiveWeights() {
  const CharacterSets& s = Sets();
  return s.oem ? s.oemWeights : s.ansiWeights;
}

const Digraph* FindDigraph(uint8_t c) {
  const CharacterSets& s = Sets();
  for (size_t i = 0; i < s.digraphCount; ++i) {
    if (s.digraphs[i].character == c) return &s.digraphs[i];
  }
  return nullptr;
}

// Reads a text character by character, expanding digraphs: a digraph character
// yields its first character and leaves its second pending.
class ExpandingReader {
 public:
  ExpandingReader(const char* text, size_t limit, bool upper)
      : text_(text), limit_(limit), upper_(upper) {}

  // The next character, or -1 at the end of the text (its NUL or its limit).
  int Next() {
    int c;
    if (pending_ >= 0) {
      c = pending_;
      pending_ = -1;
    } else {
      if (read_ >= limit_ || text_[read_] == '\0') return -1;
      c = static_cast<uint8_t>(text_[read_++]);
      if (const Digraph* d = FindDigraph(static_cast<uint8_t>(c))) {
        c = d->first;
        pending_ = d->second;
      }
    }
    return upper_ ? ToUpper(static_cast<uint8_t>(c)) : c;
  }

 private:
  const char* text_;
  size_t limit_;
  bool upper_;
  size_t read_ = 0;
  int pending_ = -1;
};

int WeightOrZero(const Table& weights, int c) {
  return c < 0 ? 0 : weights[c];
}

int CompareExpanded(const char* a, const char* b, size_t limit, bool upper) {
  const Table& weights = ActiveWeights();
  ExpandingReader ra(a, limit, upper);
  ExpandingReader rb(b, limit, upper);
  for (;;) {
    int ca = ra.Next();
    int cb = rb.Next();
    if (ca < 0 && cb < 0) return 0;
    int d = WeightOrZero(weights, ca) - WeightOrZero(weights, cb);
    if (d != 0) return d;
    // Equal weight at the end of only one text: the shorter text sorts first.
    if (ca < 0 || cb < 0) return ca < 0 ? -1 : 1;
  }
}

int ComparePlain(const char* a, const char* b, size_t limit, bool upper) {
  const Table& weights = ActiveWeights();
  for (size_t i = 0; i < limit; ++i) {
    auto ca = static_cast<uint8_t>(a[i]);
    auto cb = static_cast<uint8_t>(b[i]);
    if (ca == cb) {  // equal bytes weigh the same
      if (ca == 0) return 0;
      continue;
    }
    if (upper) {
      ca = ToUpper(ca);
      cb = ToUpper(cb);
    }
    int d = weights[ca] - weights[cb];
    if (d != 0) return d;
    if (ca == 0 || cb == 0) return 0;
  }
  return 0;
}

int Compare(const char* a, const char* b, size_t limit, bool upper) {
  return HasDigraphs() ? CompareExpanded(a, b, limit, upper) : ComparePlain(a, b, limit, upper);
}

// Deduplicated list: the listed characters take, in list order, their own codes
// sorted ascending.
Table WeightsFromList(std::string_view list) {
  std::string unique;
  std::array<bool, 256> seen{};
  for (char ch : list) {
    auto c = static_cast<uint8_t>(ch);
    if (!seen[c]) {
      seen[c] = true;
      unique += ch;
    }
  }
  std::string sorted = unique;
  std::sort(sorted.begin(), sorted.end(),
            [](char x, char y) { return static_cast<uint8_t>(x) < static_cast<uint8_t>(y); });
  Table t = IdentityTable();
  for (size_t i = 0; i < unique.size(); ++i) {
    t[static_cast<uint8_t>(unique[i])] = static_cast<uint8_t>(sorted[i]);
  }
  return t;
}

// Characters 2-254 sorted by the system's comparison of one-character texts
// (as Windows text after `toAnsi`); each takes its position as weight, so the
// table stays a permutation.
template <typename ToAnsi>
Table WeightsFromSystem(ToAnsi toAnsi) {
  std::array<uint8_t, 253> order;
  for (int i = 0; i < 253; ++i) order[i] = static_cast<uint8_t>(i + 2);
  auto less = [&](uint8_t x, uint8_t y) {
    char cx = static_cast<char>(toAnsi(x));
    char cy = static_cast<char>(toAnsi(y));
    return platform::SystemCompareText(std::string_view(&cx, 1), std::string_view(&cy, 1)) < 0;
  };
  // Insertion sort keeps characters that compare equal in code order.
  for (size_t i = 1; i < order.size(); ++i) {
    uint8_t c = order[i];
    size_t j = i;
    while (j > 0 && less(c, order[j - 1])) {
      order[j] = order[j - 1];
      --j;
    }
    order[j] = c;
  }
  Table t = IdentityTable();
  for (size_t i = 0; i < order.size(); ++i) t[order[i]] = static_cast<uint8_t>(i + 2);
  return t;
}

void ChangeCase(char* text, size_t length, uint8_t fromClass) {
  const CharacterSets& s = Sets();
  for (size_t i = 0; length == kUpToNul ? text[i] != '\0' : i < length; ++i) {
    auto c = static_cast<uint8_t>(text[i]);
    if (s.classes[c] & fromClass) text[i] = static_cast<char>(s.casePairs[c]);
  }
}

}  // namespace

uint8_t Weight(uint8_t c) {
  return ActiveWeights()[c];
}
uint8_t AnsiWeight(uint8_t c) {
  return Sets().ansiWeights[c];
}
uint8_t OemWeight(uint8_t c) {
  return Sets().oemWeights[c];
}
uint8_t CharacterClass(uint8_t c) {
  return Sets().classes[c];
}

uint8_t ToUpper(uint8_t c) {
  const CharacterSets& s = Sets();
  return (s.classes[c] & kClassLower) ? s.casePairs[c] : c;
}

uint8_t ToLower(uint8_t c) {
  const CharacterSets& s = Sets();
  return (s.classes[c] & kClassUpper) ? s.casePairs[c] : c;
}

int CompareCollated(const char* a, const char* b) {
  return Compare(a, b, SIZE_MAX, false);
}
int CompareCollatedNoCase(const char* a, const char* b) {
  return Compare(a, b, SIZE_MAX, true);
}

int CompareCountedNoCase(const char* a, const char* b, size_t n) {
  if (HasDigraphs()) return CompareExpanded(a, b, n, true);
  const Table& weights = ActiveWeights();
  for (size_t i = 0; i < n; ++i) {
    int d =
        weights[ToUpper(static_cast<uint8_t>(a[i]))] - weights[ToUpper(static_cast<uint8_t>(b[i]))];
    if (d != 0) return d;
  }
  return 0;
}

void MakeSortKey(char* text, size_t length) {
  const Table& weights = ActiveWeights();
  if (!HasDigraphs()) {
    for (size_t i = 0; i < length; ++i)
      text[i] = static_cast<char>(weights[static_cast<uint8_t>(text[i])]);
    return;
  }
  // Expansion makes the key longer than its source: build it aside, then cut.
  std::string key;
  key.reserve(length + 8);
  for (size_t i = 0; i < length && key.size() < length; ++i) {
    auto c = static_cast<uint8_t>(text[i]);
    if (const Digraph* d = FindDigraph(c)) {
      key += static_cast<char>(weights[d->first]);
      key += static_cast<char>(weights[d->second]);
    } else {
      key += static_cast<char>(weights[c]);
    }
  }
  std::memcpy(text, key.data(), length);
}

void UpperBuffer(char* text, size_t length) {
  ChangeCase(text, length, kClassLower);
}
void LowerBuffer(char* text, size_t length) {
  ChangeCase(text, length, kClassUpper);
}

bool HasDigraphs() {
  return Sets().digraphCount != 0;
}

void SetBinaryCollation() {
  Sets().ansiWeights = IdentityTable();
  Sets().oemWeights = IdentityTable();
}

void SetCollatingList(std::string_view windowsList) {
  std::string oemList(windowsList);
  platform::AnsiToOemBuffer(oemList.data(), oemList.size());
  Sets().ansiWeights = WeightsFromList(windowsList);
  Sets().oemWeights = WeightsFromList(oemList);
}

void SetSystemCollation() {
  Sets().ansiWeights = WeightsFromSystem([](uint8_t c) { return c; });
  Sets().oemWeights = WeightsFromSystem(platform::OemToAnsi);
}

void SetAsciiCasePairs() {
  SetAsciiCase(Sets());
}

void SetSystemCasePairs() {
  CharacterSets& s = Sets();
  SetAsciiCase(s);
  for (int c = 0; c < 256; ++c) {
    auto upper = static_cast<uint8_t>(c);
    uint8_t lower = platform::SystemToLower(upper);
    if (!platform::SystemIsUpper(upper) || lower == upper) continue;
    s.casePairs[upper] = lower;
    s.casePairs[lower] = upper;
    s.classes[upper] = kClassUpper;
    s.classes[lower] = kClassLower;
  }
}

bool SetCasePairs(std::string_view upper, std::string_view lower) {
  if (upper.size() != lower.size()) return false;
  CharacterSets& s = Sets();
  SetAsciiCase(s);
  for (size_t i = 0; i < upper.size(); ++i) {
    auto u = static_cast<uint8_t>(upper[i]);
    auto l = static_cast<uint8_t>(lower[i]);
    if (u < 128 || l < 128) continue;
    s.casePairs[u] = l;
    s.casePairs[l] = u;
    s.classes[u] = kClassUpper;
    s.classes[l] = kClassLower;
  }
  return true;
}

void SetDigraphs(std::span<const Digraph> digraphs) {
  CharacterSets& s = Sets();
  s.digraphCount = 0;
  for (const Digraph& d : digraphs) {
    if (d.character == 0 || s.digraphCount == kMaxDigraphs) break;
    s.digraphs[s.digraphCount++] = d;
  }
}

void SetOemData(bool oem) {
  Sets().oem = oem;
}
bool OemData() {
  return Sets().oem;
}

void ResetCharacterSets() {
  Sets() = InitialSets();
}

}  // namespace rk
