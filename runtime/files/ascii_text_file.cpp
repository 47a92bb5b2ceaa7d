#include "runtime/files/ascii_text_file.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/clipped_text.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/ascii_driver.h"

namespace rk {
namespace {

FileSpec LineFileSpec(const FieldSpec& line, uint32_t lineLength, uint8_t attributes) {
  return {"TEXT", "", attributes, lineLength, {&line, 1}, {}, {}};
}

}  // namespace

AsciiTextFile::AsciiTextFile(uint32_t lineLength, uint8_t attributes, std::string_view options)
    : lineLength_(std::max<uint32_t>(lineLength, 1)),
      options_(options),
      declared_(LineFileSpec({"TEXT:LINE", 0, kString, lineLength_}, lineLength_, attributes),
                &AsciiEntry) {
  FileDescriptor& descriptor = declared_.file();
  descriptor.name = name_;
  descriptor.nameLength = kNulTerminatedName;
  descriptor.driverOptions = options_.empty() ? nullptr : options_.data();
  descriptor.driverOptionsLength = static_cast<int32_t>(options_.size());
  std::memset(declared_.record(), ' ', lineLength_);
}

void AsciiTextFile::setName(std::string_view name) {
  size_t length = std::min(name.size(), sizeof(name_) - 1);
  std::memcpy(name_, name.data(), length);
  name_[length] = '\0';
}

std::string AsciiTextFile::line() const {
  auto* record = reinterpret_cast<const char*>(declared_.record());
  std::string text(record, lineLength_);
  text.resize(ClipRight(text).size());
  return text;
}

void AsciiTextFile::setLine(std::string_view text) {
  size_t length = std::min<size_t>(text.size(), lineLength_);
  std::memcpy(declared_.record(), text.data(), length);
  std::memset(declared_.record() + length, ' ', lineLength_ - length);
}

}  // namespace rk
