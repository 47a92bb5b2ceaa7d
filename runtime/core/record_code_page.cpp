#include "runtime/core/record_code_page.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/type_codes.h"
#include "runtime/core/type_descriptor.h"
#include "runtime/platform/code_page.h"

namespace rk {
namespace {

using Convert = void (*)(char*, size_t);

// The bytes of a text member that hold text.
size_t TextLength(const char* at, const DescriptorItem& item) {
  switch (item.code) {
    case kCString:
      return strnlen(at, item.size);
    case kPString:
      return item.size == 0 ? 0 : std::min<size_t>(static_cast<uint8_t>(at[0]), item.size - 1);
    default:
      return item.size;
  }
}

uint32_t ConvertRecord(void* record, std::span<const uint8_t> descriptor, Convert convert) {
  DescriptorReader reader(descriptor);
  DescriptorItem item;
  if (!reader.Next(item)) return 0;
  auto* base = static_cast<char*>(record);
  ForEachLeaf(item, 0, [&](const DescriptorItem& leaf, uint64_t offset) {
    if (!IsTextType(leaf.code)) return;
    char* at = base + offset;
    char* text = leaf.code == kPString ? at + 1 : at;
    convert(text, TextLength(at, leaf));
  });
  return static_cast<uint32_t>(item.TotalSize());
}

}  // namespace

uint32_t RecordToAnsi(void* record, std::span<const uint8_t> descriptor) {
  return ConvertRecord(record, descriptor, platform::OemToAnsiBuffer);
}

uint32_t RecordToOem(void* record, std::span<const uint8_t> descriptor) {
  return ConvertRecord(record, descriptor, platform::AnsiToOemBuffer);
}

}  // namespace rk
