// A text file read or written one line per record: a declared file of the ASCII
// driver whose record is one STRING of the line length and whose name is a text
// variable (NUL-terminated), so that the program can point it at a file chosen
// at run time. Reading a whole file is
//
//   AsciiTextFile text;
//   text.setName("README.TXT");
//   OPEN(text.file(), kAccessReadOnly | kDenyNone);
//   SET(text.file());
//   for (NEXT(text.file()); ErrorCode() == 0; NEXT(text.file())) Show(text.line());
//   CLOSE(text.file());
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/files/declared_file.h"

namespace rk {

inline constexpr uint32_t kTextLineLength = 255;
inline constexpr size_t kTextFileNameSize = 260;  // the name variable, NUL included

class AsciiTextFile {
 public:
  // attributes: kFileAttrCreate, kFileAttrOem...; options: the declaration's
  // driver options ("/TAB=4/CLIP=OFF"), applied at every OPEN.
  explicit AsciiTextFile(uint32_t lineLength = kTextLineLength, uint8_t attributes = 0,
                         std::string_view options = {});

  FileDescriptor& file() { return declared_.file(); }
  uint8_t* record() { return declared_.record(); }
  uint32_t lineLength() const { return lineLength_; }

  // Sets the name variable (cut to fit); the driver takes it at the next
  // operation on the closed file.
  void setName(std::string_view name);
  std::string name() const { return name_; }

  // The record without its trailing spaces.
  std::string line() const;
  // Fills the record with the text, space padded (cut to the line length).
  void setLine(std::string_view text);

 private:
  uint32_t lineLength_;
  std::string options_;
  char name_[kTextFileNameSize] = {};
  DeclaredFile declared_;
};

}  // namespace rk
