// Code pages of the runtime's texts. Runtime texts are 8-bit Windows-1252
// ("ANSI"); data files may hold IBM 437 ("OEM") text. Conversion to Unicode
// happens only here, for the display layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rk::platform {

// The byte written for a character that the target code page lacks.
inline constexpr uint8_t kUnmappable = '?';

// One character between the two 8-bit code pages; a character without an exact
// counterpart gets the nearest look-alike (box drawing becomes + - | =, accented
// letters lose their accent).
uint8_t OemToAnsi(uint8_t c);
uint8_t AnsiToOem(uint8_t c);
void OemToAnsiBuffer(char* text, size_t length);
void AnsiToOemBuffer(char* text, size_t length);

// Windows-1252 and Unicode. The five undefined bytes of 1252 map to the C1
// control characters of the same value, so every byte round-trips.
char16_t AnsiToUnicode(uint8_t c);
// kUnmappable when the character has no byte in 1252.
uint8_t UnicodeToAnsi(char32_t c);

std::u16string AnsiToUtf16(std::string_view text);
std::string Utf16ToAnsi(std::u16string_view text);
std::string AnsiToUtf8(std::string_view text);
// Malformed UTF-8 sequences become kUnmappable, one per bad byte.
std::string Utf8ToAnsi(std::string_view text);
// The strict form, for texts that must be stored exactly as written (window
// definition sources): nothing when a sequence is malformed or a character has
// no byte of its own in 1252 (the five undefined bytes' C1 controls included);
// `problem` then names the first such character and its byte position, e.g.
// "character U+0416 has no ANSI code (byte 7 of the text)".
std::optional<std::string> Utf8ToAnsiStrict(std::string_view text, std::string& problem);

}  // namespace rk::platform
