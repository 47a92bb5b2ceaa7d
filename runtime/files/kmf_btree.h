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

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "runtime/files/kmf_file.h"
#include "runtime/files/kmf_record.h"

namespace rk::kmf {

class Tree {
 public:
  explicit Tree(File& file) : file_(file) {}

  // Where a seek ended: the leaf and the index of the record found there. A
  // sequence keeps it from one move to the next as a hint only: the next move
  // takes the record beside it when that leaf is still cached and still holds
  // the record moved from at that index (the records of a leaf are neighbours
  // in the whole tree), and descends from the root otherwise.
  struct Cursor {
    uint32_t leaf = kNoPage;
    size_t index = 0;  // for a fetch: where the key sought was placed
  };

  // First record whose key is at or after (strictly after) the key.
  bool SeekForward(std::string_view key, bool strictlyAfter, Record& found,
                   Cursor* cursor = nullptr);
  // Last record whose key is at or before (strictly before) the key.
  bool SeekBackward(std::string_view key, bool strictlyBefore, Record& found,
                    Cursor* cursor = nullptr);
  bool Find(std::string_view key, Record& found);
  // The record with exactly this key where it lies in the cache, or null. The
  // pointer is good until the next call that changes the tree or loads a page.
  const Record* Lookup(std::string_view key);
  // Copies the data part of the record with exactly this key; false when there
  // is none. A leaf that the cache does not hold is searched without being
  // decoded whole (File::ReadLeaf), which suits reads scattered over the file.
  // A hint remembers the leaf reached: the next fetch with it searches that
  // leaf alone when it is still cached and its first and last records enclose
  // the key (the leaves divide the key order among them), and descends from
  // the root otherwise.
  bool FetchData(std::string_view key, std::string& data, Cursor* hint = nullptr);

  // Inserts the record, or replaces the record with an equal key. The record
  // must not be longer than kLargestStorableRecord.
  //
  // Writes take a hint as FetchData does. A key that falls after the first
  // record of the hinted leaf and not after its last belongs to that leaf and
  // to no other, and the index pages above it hold copies of first records
  // only, so the change is made there without a descent, unless the leaf
  // would have to split. Any other write descends from the root and leaves
  // the hint on the leaf it reached. Records written one after another in key
  // order, or to one place again and again, so mostly skip the index pages.
  void Put(Record record, Cursor* hint = nullptr);
  // Put for a record that must be new: false, and nothing changed, when a
  // record with an equal key is there already. One descent for both.
  bool Insert(Record record, Cursor* hint = nullptr);
  // Changes the record with this key where it lies (the change keeps the key);
  // false, nothing called, when there is none. A change that keeps the length
  // needs no split test: the bytes are overwritten and the copies of the record
  // that index pages hold are refreshed.
  bool Modify(std::string_view key, const std::function<void(Record&)>& change,
              Cursor* hint = nullptr);
  // Put for a record that usually exists already with the same length.
  void Replace(const Record& record);
  // Removes the record with this key; false when there is none. A hinted leaf
  // that encloses the key and lacks it answers false without a descent.
  bool Remove(std::string_view key, Cursor* hint = nullptr);

  static bool NeedsSplit(Page& page);

 private:
  struct Step {
    uint32_t id;
    size_t index;
  };
  // The pages from the root down to a leaf, with the index taken on each. A
  // descent happens several times per operation, so the path lives on the stack.
  class Path {
   public:
    static constexpr size_t kCapacity = kMaxTreeDepth;  // deeper trees are internal errors
    bool empty() const { return size_ == 0; }
    size_t size() const { return size_; }
    Step& operator[](size_t i) { return steps_[i]; }
    Step& back() { return steps_[size_ - 1]; }
    void push_back(Step step);
    void resize(size_t size) { size_ = size; }

   private:
    std::array<Step, kCapacity> steps_;
    size_t size_ = 0;
  };
  Path Descend(std::string_view key);
  // The record beside the cursor's, when the cursor still holds; false otherwise.
  bool StepBeside(Cursor& cursor, std::string_view key, bool forward, Record& found);
  // The record with exactly this key, the path ending on its leaf and index.
  Record* LocateEqual(std::string_view key, Path& path);
  // FetchData on one leaf, cached or read for the occasion.
  bool FetchFromLeaf(uint32_t id, std::string_view key, std::string& data, bool readingOn,
                     Cursor& hint);
  static bool CopyEqual(const Page& leaf, std::string_view key, std::string& data, Cursor& hint);
  bool StepToNextLeaf(Path& path);
  bool StepToPreviousLeaf(Path& path);
  // What an insertion does with a record of an equal key.
  enum class OnEqual { kReplace, kRefuse };
  struct Inserted {
    std::vector<uint32_t> splits;  // pages split off to the right, in order
    bool firstChanged = false;     // the page's first record is another now
    bool refused = false;          // kRefuse met an equal key; nothing changed
    uint32_t leaf = kNoPage;       // the leaf the record went into (before splits)
  };
  // The record is moved into its page (left as it was when nothing changed).
  Inserted InsertInto(uint32_t id, int level, Record& record, OnEqual onEqual);
  bool PutRecord(Record& record, OnEqual onEqual, Cursor* hint);
  // The hinted leaf when it encloses the key (after its first record, not after
  // its last), or null.
  Page* HintedLeaf(const Cursor* hint, std::string_view key);
  enum class HintedPut { kStored, kRefused, kMissed };
  HintedPut PutInHintedLeaf(Record& record, OnEqual onEqual, Cursor& hint);
  std::vector<uint32_t> SplitUntilFits(uint32_t id, Page& page);
  uint32_t SplitOnce(uint32_t id);
  // Removes below `id`; returns whether a record was removed.
  bool RemoveFrom(uint32_t id, int level, std::string_view key);
  // Copies the child's first record into the parent; false when it was there.
  bool RefreshIndexRecord(Page& parent, size_t index, int childLevel);
  // Moves the records of child left + 1 into child left when they fit in one
  // page; false (nothing changed) when the merged page would split.
  bool MergeChildren(uint32_t parentId, size_t left, int childLevel);
  void ShrinkRoot();

  File& file_;
};

}  // namespace rk::kmf
