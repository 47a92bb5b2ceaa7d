// Texts for the outside world: JSON numbers and CSV fields (JSON strings are
// tools/common/json_string.h). Record texts are Windows-1252; CSV carries them
// as UTF-8.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace rk::kmftool {

// Whether the text is a JSON number as it stands.
bool IsJsonNumber(std::string_view text);

// One CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view ansiText);
// Splits one CSV record into its fields (UTF-8 converted to Windows-1252). A
// record may span lines inside quotes: ReadCsvRecord reads a whole one. False at
// the end of the input or on an unterminated quote (reported through error).
bool ReadCsvRecord(std::istream& in, std::vector<std::string>& fields, std::string& error);

}  // namespace rk::kmftool
