#include "runtime/files/kmf_page_allocator.h"

#include <algorithm>
#include <cassert>
#include <unordered_set>

namespace rk::kmf {
namespace {

bool Empty(const Header& header, int i) {
  return header.rangeEnd[i] <= header.rangeStart[i];
}

// Share by which a full range grows beyond what is asked: a fifth of its slots.
size_t GrowthSlots(const Header& header, int pageClass, size_t deficit) {
  size_t slots = (header.rangeEnd[pageClass] - header.rangeStart[pageClass]) / pageClass;
  return std::max(deficit, (slots + 4) / 5);
}

}  // namespace

void PageAllocator::Rebuild(const Header& header, const std::vector<uint32_t>& occupied) {
  std::unordered_set<uint32_t> used(occupied.begin(), occupied.end());
  for (int i = 1; i < kClassCount; ++i) {
    free_[i].clear();
    for (uint32_t a = header.rangeStart[i]; a + i <= header.rangeEnd[i]; a += i) {
      if (!used.count(a)) free_[i].insert(a);
    }
  }
  built_ = true;
}

void PageAllocator::Reserve(Header& header, int pageClass, size_t count,
                            std::vector<PageMove>& moves) {
  assert(built_ && pageClass >= 1 && pageClass < kClassCount);
  if (free_[pageClass].size() >= count) return;
  size_t grow = GrowthSlots(header, pageClass, count - free_[pageClass].size());
  if (Empty(header, pageClass)) {
    uint32_t below = 0;
    for (int i = 1; i < pageClass; ++i) below = std::max(below, header.rangeEnd[i]);
    header.rangeStart[pageClass] = header.rangeEnd[pageClass] = below;
  }
  uint32_t oldEnd = header.rangeEnd[pageClass];
  header.rangeEnd[pageClass] = oldEnd + static_cast<uint32_t>(grow * pageClass);
  for (uint32_t a = oldEnd; a < header.rangeEnd[pageClass]; a += pageClass) {
    free_[pageClass].insert(a);
  }
  uint32_t limit = header.rangeEnd[pageClass];
  for (int above = pageClass + 1; above < kClassCount; ++above) {
    if (Empty(header, above)) {
      header.rangeStart[above] = header.rangeEnd[above] = std::max(header.rangeStart[above], limit);
      limit = header.rangeEnd[above];
      continue;
    }
    if (header.rangeStart[above] >= limit) break;
    Rotate(header, above, limit, moves);
    limit = header.rangeEnd[above];
  }
}

void PageAllocator::Rotate(Header& header, int pageClass, uint32_t minimumStart,
                           std::vector<PageMove>& moves) {
  uint32_t shortfall = minimumStart - header.rangeStart[pageClass];
  uint32_t shift = (shortfall + pageClass - 1) / pageClass * pageClass;
  uint32_t oldStart = header.rangeStart[pageClass];
  uint32_t oldEnd = header.rangeEnd[pageClass];
  uint32_t newStart = oldStart + shift;
  uint32_t newEnd = oldEnd + shift;
  header.rangeStart[pageClass] = newStart;
  header.rangeEnd[pageClass] = newEnd;
  auto& slots = free_[pageClass];
  for (uint32_t a = std::max(oldEnd, newStart); a < newEnd; a += pageClass) slots.insert(a);
  for (uint32_t a = oldStart; a < std::min(oldEnd, newStart); a += pageClass) {
    if (slots.erase(a)) continue;  // a free slot simply leaves the range
    // An occupied slot leaving the range: its page moves to the highest free
    // slot, keeping the lower ones for the pages that follow.
    auto highest = std::prev(slots.end());
    assert(*highest >= newStart);
    moves.push_back({a, *highest, pageClass});
    slots.erase(highest);
  }
}

uint32_t PageAllocator::Take(int pageClass) {
  assert(!free_[pageClass].empty());
  uint32_t address = *free_[pageClass].begin();
  free_[pageClass].erase(free_[pageClass].begin());
  return address;
}

void PageAllocator::Release(int pageClass, uint32_t address) {
  free_[pageClass].insert(address);
}

}  // namespace rk::kmf
