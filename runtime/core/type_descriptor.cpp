#include "runtime/core/type_descriptor.h"

#include <algorithm>

#include "runtime/core/type_codes.h"

namespace rk {
namespace {

// Deeper nesting than this is taken as a damaged descriptor: groups in groups
// as a declaration writes them, a limit of its own whatever other nestings
// (key trees, definition records) allow.
constexpr int kMaxDescriptorNesting = 32;
// No described value may exceed this size; larger counts are damage.
constexpr uint64_t kMaxValueSize = uint64_t{1} << 31;

}  // namespace

bool DescriptorReader::Fail() {
  malformed_ = true;
  return false;
}

bool DescriptorReader::ReadByte(uint8_t& value) {
  if (position_ >= bytes_.size()) return Fail();
  value = bytes_[position_++];
  return true;
}

bool DescriptorReader::ReadWord(uint32_t& value) {
  if (bytes_.size() - position_ < 4 || position_ > bytes_.size()) return Fail();
  value = uint32_t{bytes_[position_]} | uint32_t{bytes_[position_ + 1]} << 8 |
          uint32_t{bytes_[position_ + 2]} << 16 | uint32_t{bytes_[position_ + 3]} << 24;
  position_ += 4;
  return true;
}

bool DescriptorReader::ReadText(std::string_view& text) {
  auto rest = bytes_.subspan(std::min(position_, bytes_.size()));
  auto nul = std::find(rest.begin(), rest.end(), uint8_t{0});
  if (nul == rest.end()) return Fail();
  size_t length = static_cast<size_t>(nul - rest.begin());
  text = std::string_view(reinterpret_cast<const char*>(rest.data()), length);
  position_ += length + 1;
  return true;
}

bool DescriptorReader::Next(DescriptorItem& item) {
  if (malformed_ || position_ >= bytes_.size()) return false;
  if (bytes_[position_] == 0) {
    ++position_;
    return false;
  }
  return ReadItem(item, 0);
}

bool DescriptorReader::ReadItem(DescriptorItem& item, int depth) {
  if (depth > kMaxDescriptorNesting) return Fail();
  item = DescriptorItem{};
  uint8_t code;
  if (!ReadByte(code)) return false;
  uint64_t count = 1;
  while (code == kDimension) {
    uint32_t n;
    if (!ReadWord(n) || !ReadByte(code)) return false;
    count *= n;
    if (count > kMaxValueSize) return Fail();
    item.dimensioned = true;
  }
  item.code = code;
  item.count = static_cast<uint32_t>(count);
  switch (code) {
    case kDecimal:
    case kPDecimal: {
      uint8_t size;
      if (!ReadByte(size) || !ReadByte(item.places)) return false;
      item.size = size;
      break;
    }
    case kString:
    case kCString:
    case kPString:
      if (!ReadWord(item.size) || !ReadText(item.picture)) return false;
      break;
    case kTextArea:
      if (!ReadWord(item.size)) return false;
      break;
    case kGroup:
      if (!ReadGroup(item, depth)) return false;
      break;
    default:
      item.size = static_cast<uint32_t>(SimpleTypeSize(code));
      if (item.size == 0) return Fail();  // unknown code
      break;
  }
  if (item.TotalSize() > kMaxValueSize) return Fail();
  return true;
}

// Reads the members up to the closing 0 to find their bytes and the extent.
bool DescriptorReader::ReadGroup(DescriptorItem& item, int depth) {
  size_t start = position_;
  uint64_t nextOffset = 0;
  uint64_t extent = 0;
  for (;;) {
    uint8_t code;
    if (!ReadByte(code)) return false;
    if (code == 0) break;
    uint64_t offset = nextOffset;
    if (code == kMember) {
      uint32_t placed;
      std::string_view name;
      if (!ReadWord(placed) || !ReadText(name)) return false;
      offset = placed;
    } else {
      --position_;  // a bare descriptor: read it whole below
    }
    DescriptorItem member;
    if (!ReadItem(member, depth + 1)) return false;
    nextOffset = offset + member.TotalSize();
    extent = std::max(extent, nextOffset);
    if (extent > kMaxValueSize) return Fail();
  }
  item.members = bytes_.subspan(start, position_ - start);
  item.size = static_cast<uint32_t>(extent);
  return true;
}

bool GroupWalk::Next(DescriptorItem& item, uint32_t& offset) {
  if (reader_.malformed_ || reader_.position_ >= reader_.bytes_.size()) return false;
  uint8_t code = reader_.bytes_[reader_.position_];
  if (code == 0) return false;
  uint64_t at = nextOffset_;
  std::string_view name;
  if (code == kMember) {
    ++reader_.position_;
    uint32_t placed;
    if (!reader_.ReadWord(placed) || !reader_.ReadText(name)) return false;
    at = placed;
  }
  if (!reader_.ReadItem(item, 1)) return false;
  item.name = name;
  offset = static_cast<uint32_t>(at);
  nextOffset_ = at + item.TotalSize();
  return true;
}

uint64_t DescriptorSize(std::span<const uint8_t> descriptor) {
  DescriptorReader reader(descriptor);
  DescriptorItem item;
  return reader.Next(item) ? item.TotalSize() : 0;
}

}  // namespace rk
