// Page addresses for the size classes of a KMF file.
//
// Class i pages (i x 256 bytes) lie in the range [start[i], end[i]) of page
// addresses, in slots start[i] + k x i; ranges lie in ascending class order and
// never overlap. The allocator keeps the free slots of every class (built from
// the addresses the tree references), reuses freed slots first, and grows a full
// range by a share of its size. Growing a range pushes the ranges above it up:
// each of them rotates, giving up slots at its bottom and gaining as many at its
// top, and the pages in the slots it gives up move (the caller copies them and
// updates the references to them).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "runtime/files/kmf_header.h"

namespace rk::kmf {

struct PageMove {
  uint32_t from;
  uint32_t to;
  int pageClass;
};

class PageAllocator {
 public:
  bool built() const { return built_; }
  void Invalidate() { built_ = false; }
  // Every slot of every range that is not among the occupied addresses is free.
  void Rebuild(const Header& header, const std::vector<uint32_t>& occupied);

  size_t FreeSlots(int pageClass) const { return free_[pageClass].size(); }
  // Makes at least `count` slots of the class free, growing its range and
  // rotating the ranges above; appends the pages that move.
  void Reserve(Header& header, int pageClass, size_t count, std::vector<PageMove>& moves);
  // Takes the lowest free slot of the class (one must be free).
  uint32_t Take(int pageClass);
  // Gives a slot back.
  void Release(int pageClass, uint32_t address);

 private:
  void Rotate(Header& header, int pageClass, uint32_t minimumStart, std::vector<PageMove>& moves);

  bool built_ = false;
  std::array<std::set<uint32_t>, kClassCount> free_;
};

}  // namespace rk::kmf
