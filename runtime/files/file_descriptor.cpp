#include "runtime/files/file_descriptor.h"

#include <cstring>

#include "runtime/core/clipped_text.h"

namespace rk {
namespace {

std::string Counted(const char* text, int32_t length) {
  if (!text) return {};
  if (length < 0) return std::string(text);
  return std::string(text, static_cast<size_t>(length));
}

}  // namespace

std::string FileNameText(const FileDescriptor& file) {
  std::string name = Counted(file.name, file.nameLength);
  name.resize(ClipRight(name).size());
  if (size_t nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
  return name;
}

std::string KeyLabel(const KeyDescriptor& key) {
  return Counted(key.label, key.labelLength);
}
std::string MemoLabel(const MemoDescriptor& memo) {
  return Counted(memo.label, memo.labelLength);
}

}  // namespace rk
