// Character-set services behind every comparison, key and case change: the
// collating weights (one table for the Windows code page, one for the OEM code
// page), the case-pair table, the character classes and the digraphs that sort
// one character as two. The tables start as binary order and ASCII case; the
// environment loader replaces them once at start-up through the setters below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace rk {

// Character class flags.
inline constexpr uint8_t kClassUpper = 1;
inline constexpr uint8_t kClassLower = 2;
inline constexpr uint8_t kClassDigit = 4;

struct Digraph {
  uint8_t character;  // sorts as first followed by second
  uint8_t first;
  uint8_t second;
};
inline constexpr size_t kMaxDigraphs = 16;

// UpperBuffer/LowerBuffer length meaning "up to the terminating NUL".
inline constexpr size_t kUpToNul = 65535;

// The collating weight of c in the table of the code page in use (the OEM table
// when the data are OEM text).
uint8_t Weight(uint8_t c);
uint8_t AnsiWeight(uint8_t c);
uint8_t OemWeight(uint8_t c);

uint8_t CharacterClass(uint8_t c);
// The case partner when c is a lower-case (resp. upper-case) letter, else c.
uint8_t ToUpper(uint8_t c);
uint8_t ToLower(uint8_t c);

// NUL-terminated texts compared by weight, digraphs expanded when there are
// any. The result is the weight difference at the first difference, 0 if equal.
int CompareCollated(const char* a, const char* b);
int CompareCollatedNoCase(const char* a, const char* b);
// n characters of each text, lower case mapped to upper case before weighing.
int CompareCountedNoCase(const char* a, const char* b, size_t n);

// Replaces each character by its weight in place, digraphs expanded and the
// result cut to the same length.
void MakeSortKey(char* text, size_t length);

void UpperBuffer(char* text, size_t length);
void LowerBuffer(char* text, size_t length);

bool HasDigraphs();

// --- Setters for the environment loader -------------------------------------

// Binary order in both tables.
void SetBinaryCollation();
// The listed characters (Windows code page) take, in list order, the weights of
// their own codes sorted ascending; repeats are dropped; every other character
// keeps its code. The OEM table is built from the list converted to OEM.
void SetCollatingList(std::string_view windowsList);
// Characters 2-254 in the order of the system's case-sensitive comparison.
void SetSystemCollation();

// Case pairs and classes: ASCII letters only.
void SetAsciiCasePairs();
// Every character that the system calls upper case, paired with its lower form.
void SetSystemCasePairs();
// ASCII letters plus the given pairs; only pairs whose characters are both 128 or
// above are taken. Returns false and changes nothing when the lengths differ.
bool SetCasePairs(std::string_view upper, std::string_view lower);

// Up to kMaxDigraphs entries; an entry with character 0 ends the list; an empty
// list switches digraphs off.
void SetDigraphs(std::span<const Digraph> digraphs);

// Set when the data files hold OEM text.
void SetOemData(bool oem);
bool OemData();

// Binary order, ASCII case, no digraphs, Windows data: the state at start.
void ResetCharacterSets();

}  // namespace rk
