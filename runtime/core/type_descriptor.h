// Type descriptors: the byte language in which records and bound variables are
// described to the runtime. All multi-byte numbers are little-endian.
//
//   1-9, 13, 14           simple type, nothing follows
//   10 | 11, size:1, places:1            DECIMAL / PDECIMAL
//   18 | 19 | 20, length:4, picture NUL  STRING / CSTRING / PSTRING
//   21, length:4                          fixed text area
//   22, member..., 0                      GROUP; a member is either
//       24, offset:4, name NUL, descriptor   (placed at offset in the group)
//       descriptor                           (placed right after the previous member)
//   23, count:4, descriptor               dimension; repeated prefixes multiply
//
// The size of a group is the largest end (offset + size) of its members.
// Readers never read past the bytes they are given: a truncated or unknown
// descriptor is reported as malformed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/core/type_codes.h"

namespace rk {

// One described value: its type, the size of one element and the element count.
struct DescriptorItem {
  uint8_t code = 0;
  uint32_t size = 0;  // bytes of one element; a group's extent
  uint8_t places = 0;
  uint32_t count = 1;  // product of the dimension prefixes
  bool dimensioned = false;
  std::string_view picture;          // text types
  std::span<const uint8_t> members;  // a group's member bytes, up to its closing 0
  std::string_view name;             // a placed group member's name (GroupWalk)
  uint64_t TotalSize() const { return uint64_t{size} * count; }
};

// Reads descriptor items one after another.
class DescriptorReader {
 public:
  explicit DescriptorReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  // The next item. False at a 0 byte or the end of the bytes (the 0 is consumed)
  // and on malformed input, which Malformed() then reports.
  bool Next(DescriptorItem& item);
  bool Malformed() const { return malformed_; }
  size_t Position() const { return position_; }

 private:
  friend class GroupWalk;
  bool ReadItem(DescriptorItem& item, int depth);
  bool ReadGroup(DescriptorItem& item, int depth);
  bool ReadByte(uint8_t& value);
  bool ReadWord(uint32_t& value);
  bool ReadText(std::string_view& text);
  bool Fail();

  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
  bool malformed_ = false;
};

// Calls visit(item, offset) for each member of a group item, in order, with the
// member's offset from the start of the group. Returns false on malformed bytes.
template <typename Visit>
bool ForEachMember(const DescriptorItem& group, Visit&& visit);

// The size in bytes of the first item of a descriptor (count included); 0 when
// it is malformed or empty.
uint64_t DescriptorSize(std::span<const uint8_t> descriptor);

// Member walking shared by the template above.
class GroupWalk {
 public:
  explicit GroupWalk(std::span<const uint8_t> members) : reader_(members) {}
  // The next member and its offset; false at the end or when malformed.
  bool Next(DescriptorItem& item, uint32_t& offset);
  bool Malformed() const { return reader_.Malformed(); }

 private:
  DescriptorReader reader_;
  uint64_t nextOffset_ = 0;
};

template <typename Visit>
bool ForEachMember(const DescriptorItem& group, Visit&& visit) {
  GroupWalk walk(group.members);
  DescriptorItem member;
  uint32_t offset = 0;
  while (walk.Next(member, offset)) visit(member, offset);
  return !walk.Malformed();
}

// Calls visit(item, offset) for every non-group element that the item covers:
// dimensions element by element, groups member by member (nested groups
// recursively). The visited items have count 1.
template <typename Visit>
void ForEachLeaf(const DescriptorItem& item, uint64_t offset, Visit&& visit) {
  DescriptorItem element = item;
  element.count = 1;
  element.dimensioned = false;
  for (uint32_t i = 0; i < item.count; ++i) {
    uint64_t at = offset + uint64_t{i} * item.size;
    if (item.code == kGroup) {
      ForEachMember(element, [&](const DescriptorItem& member, uint32_t memberOffset) {
        ForEachLeaf(member, at + memberOffset, visit);
      });
    } else {
      visit(element, at);
    }
  }
}

}  // namespace rk
