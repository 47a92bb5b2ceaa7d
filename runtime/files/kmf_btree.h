// The B-tree of a KMF file: every record of every table, in key order, in pages.
//
// Index pages hold, for each child, a copy of the child's first record and the
// child's page id. A search takes on each index page the last record whose key is
// not greater than the key sought (the first when none is) and descends.
// A page splits when its size bound reaches 15095 bytes, or exceeds 4096 bytes
// while it holds 21 or more records: the middle record joins the half with fewer
// records, and the new right page's first record goes into the parent. A page
// that a removal leaves under a quarter of the crowded bound is merged into a
// neighbour when the two fit in one page without splitting.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/files/kmf_file.h"
#include "runtime/files/kmf_record.h"

namespace rk::kmf {

class Tree {
 public:
  explicit Tree(File& file) : file_(file) {}

  // First record whose key is at or after (strictly after) the key.
  bool SeekForward(std::string_view key, bool strictlyAfter, Record& found);
  // Last record whose key is at or before (strictly before) the key.
  bool SeekBackward(std::string_view key, bool strictlyBefore, Record& found);
  bool Find(std::string_view key, Record& found);

  // Inserts the record, or replaces the record with an equal key. The record
  // must not be longer than kLargestStorableRecord.
  void Put(const Record& record);
  // Removes the record with this key; false when there is none.
  bool Remove(std::string_view key);

  static bool NeedsSplit(const Page& page);

 private:
  struct Step {
    uint32_t id;
    size_t index;
  };
  std::vector<Step> Descend(std::string_view key);
  bool StepToNextLeaf(std::vector<Step>& path);
  bool StepToPreviousLeaf(std::vector<Step>& path);
  // Inserts below `id`; returns the pages split off to the right of it.
  std::vector<uint32_t> InsertInto(uint32_t id, int level, const Record& record);
  std::vector<uint32_t> SplitUntilFits(uint32_t id);
  uint32_t SplitOnce(uint32_t id);
  // Removes below `id`; returns whether a record was removed.
  bool RemoveFrom(uint32_t id, int level, std::string_view key);
  void RefreshIndexRecord(Page& parent, size_t index, int childLevel);
  // Moves the records of child left + 1 into child left when they fit in one
  // page; false (nothing changed) when the merged page would split.
  bool MergeChildren(uint32_t parentId, size_t left, int childLevel);
  void ShrinkRoot();

  File& file_;
};

}  // namespace rk::kmf
