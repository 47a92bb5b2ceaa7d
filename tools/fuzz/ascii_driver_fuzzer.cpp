// The ASCII driver from any bytes: "options\nfile bytes". The options are the
// declaration's driver string; the file is read to its end forwards, then every
// line is read again by its position, a line is added, and the file closed. No
// read may end in anything but a record or 33 (end of file), and each record
// read by position must be the one NEXT read there.
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/error_state.h"
#include "runtime/files/ascii_text_file.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {

int AsciiDriverInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\n');
  if (split == std::string_view::npos) return 0;
  std::string options(input.substr(0, split));
  std::string_view bytes = input.substr(split + 1);
  std::string path = (ScratchFolder() / "TEXT.TXT").string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

  ClearError();
  uint32_t lineLength = 1 + (options.size() * 7) % 80;
  AsciiTextFile text(lineLength, kFileAttrCreate, options);
  text.setName(path);
  OPEN(text.file(), kAccessReadWrite | kDenyNone);
  if (ErrorCode() != 0) return 0;
  std::vector<std::pair<int32_t, std::string>> lines;
  SET(text.file());
  for (NEXT(text.file()); ErrorCode() == 0 && lines.size() < 4096; NEXT(text.file())) {
    lines.emplace_back(POINTER(text.file()), text.line());
  }
  if (ErrorCode() != 0 && ErrorCode() != file_error::kRecordNotAvailable) Broken();
  for (const auto& [position, line] : lines) {
    GET(text.file(), position);
    if (ErrorCode() != 0 || text.line() != line) Broken();
  }
  text.setLine("added");
  ADD(text.file());
  CLOSE(text.file());
  return 0;
}

}  // namespace rk::fuzz
