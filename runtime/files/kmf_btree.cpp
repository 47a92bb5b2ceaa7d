#include "runtime/files/kmf_btree.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "runtime/files/kmf_internal_error.h"
#include "runtime/files/kmf_record_coding.h"

namespace rk::kmf {
namespace {

constexpr uint32_t kCrowdedBound = 4096;
constexpr size_t kCrowdedCount = 21;
// A page whose size bound falls below this after a removal is merged into a
// neighbour when the two fit in one page. A quarter of the crowded bound keeps
// a page just split (about half of it) from merging back at once.
constexpr uint32_t kUnderfilledBound = kCrowdedBound / 4;

bool WouldSplit(uint32_t bound, size_t count) {
  return count >= 2 && (bound >= kSplitBound || (bound > kCrowdedBound && count >= kCrowdedCount));
}

}  // namespace

void Tree::Path::push_back(Step step) {
  KMF_CHECK(size_ < kCapacity);
  steps_[size_++] = step;
}

bool Tree::NeedsSplit(Page& page) {
  return WouldSplit(page.KeptSizeBound(), page.records.size());
}

Tree::Path Tree::Descend(std::string_view key) {
  Path path;
  uint32_t id = file_.root();
  int level = -1;
  while (id != kNoPage) {
    KMF_CHECK(path.size() < kMaxTreeDepth);
    Page& page = file_.LoadPage(id, level);
    KMF_CHECK(!page.records.empty());
    if (!page.IsIndex()) {
      path.push_back({id, LowerBound(page, key)});
      break;
    }
    size_t index = ChildIndex(page, key);
    path.push_back({id, index});
    level = page.level - 1;
    id = page.children[index];
  }
  return path;
}

bool Tree::StepToNextLeaf(Path& path) {
  size_t depth = path.size() - 1;
  while (depth > 0) {
    --depth;
    Page& page = file_.LoadPage(path[depth].id);
    if (path[depth].index + 1 < page.records.size()) {
      path.resize(depth + 1);
      path[depth].index++;
      uint32_t id = page.children[path[depth].index];
      int level = page.level - 1;
      for (;;) {
        Page& child = file_.LoadPage(id, level);
        KMF_CHECK(!child.records.empty());
        path.push_back({id, 0});
        if (!child.IsIndex()) return true;
        id = child.children[0];
        level = child.level - 1;
      }
    }
  }
  return false;
}

bool Tree::StepToPreviousLeaf(Path& path) {
  size_t depth = path.size() - 1;
  while (depth > 0) {
    --depth;
    Page& page = file_.LoadPage(path[depth].id);
    if (path[depth].index > 0) {
      path.resize(depth + 1);
      path[depth].index--;
      uint32_t id = page.children[path[depth].index];
      int level = page.level - 1;
      for (;;) {
        Page& child = file_.LoadPage(id, level);
        KMF_CHECK(!child.records.empty());
        size_t last = child.records.size() - 1;
        path.push_back({id, child.IsIndex() ? last : child.records.size()});
        if (!child.IsIndex()) return true;
        id = child.children[last];
        level = child.level - 1;
      }
    }
  }
  return false;
}

bool Tree::StepBeside(Cursor& cursor, std::string_view key, bool forward, Record& found) {
  const Page* leaf = file_.FindCached(cursor.leaf);
  if (!leaf || leaf->IsIndex() || cursor.index >= leaf->records.size() ||
      leaf->records[cursor.index].Key() != key) {
    return false;
  }
  if (forward ? cursor.index + 1 >= leaf->records.size() : cursor.index == 0) return false;
  cursor.index = forward ? cursor.index + 1 : cursor.index - 1;
  found = leaf->records[cursor.index];
  return true;
}

bool Tree::SeekForward(std::string_view key, bool strictlyAfter, Record& found, Cursor* cursor) {
  if (cursor && strictlyAfter && StepBeside(*cursor, key, true, found)) return true;
  Path path = Descend(key);
  if (path.empty()) return false;
  Page* leaf = &file_.LoadPage(path.back().id);
  size_t position = strictlyAfter ? UpperBound(*leaf, key) : path.back().index;
  if (position >= leaf->records.size()) {
    if (!StepToNextLeaf(path)) return false;
    leaf = &file_.LoadPage(path.back().id);
    position = 0;
  }
  found = leaf->records[position];
  if (cursor) *cursor = {path.back().id, position};
  return true;
}

bool Tree::SeekBackward(std::string_view key, bool strictlyBefore, Record& found, Cursor* cursor) {
  if (cursor && strictlyBefore && StepBeside(*cursor, key, false, found)) return true;
  Path path = Descend(key);
  if (path.empty()) return false;
  Page* leaf = &file_.LoadPage(path.back().id);
  size_t position = strictlyBefore ? path.back().index : UpperBound(*leaf, key);
  if (position == 0) {
    if (!StepToPreviousLeaf(path)) return false;
    leaf = &file_.LoadPage(path.back().id);
    position = leaf->records.size();
  }
  found = leaf->records[position - 1];
  if (cursor) *cursor = {path.back().id, position - 1};
  return true;
}

bool Tree::Find(std::string_view key, Record& found) {
  const Record* record = Lookup(key);
  if (!record) return false;
  found = *record;
  return true;
}

Record* Tree::LocateEqual(std::string_view key, Path& path) {
  path = Descend(key);
  if (path.empty()) return nullptr;
  Page* leaf = &file_.LoadPage(path.back().id);
  // An equal key is the first at or after it: on this leaf, or first on the next.
  if (path.back().index >= leaf->records.size()) {
    if (!StepToNextLeaf(path)) return nullptr;
    leaf = &file_.LoadPage(path.back().id);
  }
  Record& candidate = leaf->records[path.back().index];
  return candidate.Key() == key ? &candidate : nullptr;
}

const Record* Tree::Lookup(std::string_view key) {
  Path path;
  return LocateEqual(key, path);
}

bool Tree::FetchData(std::string_view key, std::string& data, Cursor* hint) {
  Cursor unused;
  if (!hint) hint = &unused;
  // Reads that left the hinted leaf at the end they were moving towards, for
  // the leaf beside it, go on in key order: that leaf will be read through, so
  // it is cached at once.
  enum class Onward { kNo, kForward, kBackward } onward = Onward::kNo;
  uint32_t previousLeaf = hint->leaf;
  if (const Page* leaf = file_.FindCached(previousLeaf);
      leaf && !leaf->IsIndex() && !leaf->records.empty()) {
    const KeyHead head = KeyHead::Of(key);
    bool fromFirst = !KeyAfter(leaf->records.front(), key, head);
    if (fromFirst && !KeyBefore(leaf->records.back(), key, head)) {
      return CopyEqual(*leaf, key, data, *hint);
    }
    if (fromFirst && hint->index + 1 == leaf->records.size()) onward = Onward::kForward;
    if (!fromFirst && hint->index == 0) onward = Onward::kBackward;
  }
  uint32_t id = file_.root();
  int level = -1;  // the root's level is learnt from the root
  bool besidePrevious = false;
  for (int depth = 0; id != kNoPage; ++depth) {
    KMF_CHECK(depth < kMaxTreeDepth);
    hint->leaf = id;
    if (level == 0) return FetchFromLeaf(id, key, data, besidePrevious, *hint);
    Page& page = file_.LoadPage(id, level);
    KMF_CHECK(!page.records.empty());
    if (!page.IsIndex()) return CopyEqual(page, key, data, *hint);  // a root that is a leaf
    size_t index = ChildIndex(page, key);
    besidePrevious =
        page.level == 1 &&
        ((onward == Onward::kForward && index > 0 && page.children[index - 1] == previousLeaf) ||
         (onward == Onward::kBackward && index + 1 < page.children.size() &&
          page.children[index + 1] == previousLeaf));
    level = page.level - 1;
    id = page.children[index];
  }
  return false;
}

// Index records are the first records of their children, so a key beyond the
// last record of the leaf that the search reaches is in no other leaf either.
bool Tree::CopyEqual(const Page& leaf, std::string_view key, std::string& data, Cursor& hint) {
  auto [position, equal] = PlaceKey(leaf, key);
  hint.index = position;
  if (!equal) return false;
  data.assign(leaf.records[position].Data());
  return true;
}

bool Tree::FetchFromLeaf(uint32_t id, std::string_view key, std::string& data, bool readingOn,
                         Cursor& hint) {
  File::LeafRead leaf = file_.ReadLeaf(id, readingOn);
  if (leaf.page) {
    KMF_CHECK(!leaf.page->records.empty());
    return CopyEqual(*leaf.page, key, data, hint);
  }
  KMF_CHECK(leaf.opened.fields.recordCount > 0);
  thread_local std::string scratch;
  RecordReader reader(leaf.opened.body, leaf.opened.fields.recordCount, scratch);
  bool found = false;
  bool passed = false;
  // Every record is read, as a decoding would, so that a damaged page is
  // found out here too.
  while (reader.Next()) {
    if (passed) continue;
    int order = CompareKeys(reader.key(), key);
    if (order < 0) continue;
    passed = true;
    found = order == 0;
    if (found) data.assign(reader.bytes().substr(reader.keyLength()));
  }
  KMF_CHECK(reader.complete());
  return found;
}

bool Tree::Modify(std::string_view key, const std::function<void(Record&)>& change, Cursor* hint) {
  if (Page* leaf = HintedLeaf(hint, key)) {
    // Enclosed by the leaf: the record is here or nowhere, and not first.
    auto [position, equal] = PlaceKey(*leaf, key);
    if (!equal) return false;
    const Record& record = leaf->records[position];
    size_t length = record.bytes.size();
    leaf->Change(position, change);
    assert(record.Key() == key);
    hint->index = position;
    if (record.bytes.size() != length) {
      Put(Record(record), hint);
      return true;
    }
    file_.MarkDirty(hint->leaf);
    return true;
  }
  Path path;
  if (!LocateEqual(key, path)) return false;
  if (hint) *hint = {path.back().id, path.back().index};
  Page& leaf = file_.LoadPage(path.back().id);
  const Record* record = &leaf.records[path.back().index];
  size_t length = record->bytes.size();
  leaf.Change(path.back().index, change);
  assert(record->Key() == key);
  if (record->bytes.size() != length) {
    // A new length may split the page: the general road.
    Put(Record(*record));
    return true;
  }
  file_.MarkDirty(path.back().id);
  // A page's first record is copied into its parent, and so on up while it
  // stays the first.
  for (size_t depth = path.size() - 1; depth > 0 && path[depth].index == 0; --depth) {
    file_.ChangePage(path[depth - 1].id).Replace(path[depth - 1].index, *record);
  }
  return true;
}

void Tree::Replace(const Record& record) {
  if (!Modify(record.Key(), [&record](Record& stored) { stored = record; })) Put(record);
}

bool Tree::RefreshIndexRecord(Page& parent, size_t index, int childLevel) {
  const Page& child = file_.LoadPage(parent.children[index], childLevel);
  KMF_CHECK(!child.records.empty());
  if (parent.records[index] == child.records.front()) return false;
  parent.Replace(index, child.records.front());
  return true;
}

uint32_t Tree::SplitOnce(uint32_t id) {
  Page& page = file_.LoadPage(id);
  size_t count = page.records.size();
  size_t middle = count / 2;
  // The middle record joins the half with fewer records.
  size_t before = middle;
  size_t after = count - middle - 1;
  size_t cut = before < after ? middle + 1 : middle;
  uint32_t rightId = file_.NewPage(page.level);
  Page& source = file_.LoadPage(id);
  Page& right = file_.LoadPage(rightId);
  source.MoveTailTo(cut, right);
  file_.MarkDirty(id);
  return rightId;
}

std::vector<uint32_t> Tree::SplitUntilFits(uint32_t id, Page& page) {
  if (!NeedsSplit(page)) return {};  // the usual case, without allocating
  std::vector<uint32_t> pages = {id};
  for (size_t i = 0; i < pages.size();) {
    if (NeedsSplit(file_.LoadPage(pages[i]))) {
      pages.insert(pages.begin() + i + 1, SplitOnce(pages[i]));
    } else {
      ++i;
    }
  }
  pages.erase(pages.begin());
  return pages;
}

// Pages stay where the cache holds them while records are inserted (nothing is
// dropped from the cache during an operation), so each page is looked up once.
Tree::Inserted Tree::InsertInto(uint32_t id, int level, Record& record, OnEqual onEqual) {
  // A leaf known as such that will change whatever it holds is looked up and
  // marked changed at once.
  const bool surelyChanged = level == 0 && onEqual == OnEqual::kReplace;
  Page& page = surelyChanged ? file_.ChangePage(id, 0) : file_.LoadPage(id, level);
  Inserted result;
  if (!page.IsIndex()) {
    auto [position, equal] = PlaceKey(page, record.Key());
    if (equal && onEqual == OnEqual::kRefuse) {
      result.refused = true;
      return result;
    }
    if (!surelyChanged) file_.MarkDirty(id);
    if (equal) {
      page.Replace(position, std::move(record));
    } else {
      page.Insert(position, std::move(record));
    }
    result.firstChanged = position == 0;
    result.leaf = id;
    result.splits = SplitUntilFits(id, page);
    return result;
  }
  size_t index = ChildIndex(page, record.Key());
  int childLevel = page.level - 1;
  Inserted below = InsertInto(page.children[index], childLevel, record, onEqual);
  result.refused = below.refused;
  result.leaf = below.leaf;
  // An index page changes only when its child's first record did or the child
  // split; an unchanged page is not written back (nor counted as pending).
  if (below.splits.empty() && !below.firstChanged) return result;
  if (below.firstChanged) {
    RefreshIndexRecord(page, index, childLevel);
    result.firstChanged = index == 0;
  }
  for (size_t k = 0; k < below.splits.size(); ++k) {
    const Page& split = file_.LoadPage(below.splits[k]);
    page.InsertWithChild(index + 1 + k, split.records.front(), below.splits[k]);
  }
  file_.MarkDirty(id);
  result.splits = SplitUntilFits(id, page);
  return result;
}

Page* Tree::HintedLeaf(const Cursor* hint, std::string_view key) {
  if (!hint) return nullptr;
  Page* leaf = file_.FindCached(hint->leaf);
  if (!leaf || leaf->IsIndex() || leaf->records.empty()) return nullptr;
  const KeyHead head = KeyHead::Of(key);
  if (!KeyBefore(leaf->records.front(), key, head)) return nullptr;  // not after the first
  if (KeyBefore(leaf->records.back(), key, head)) return nullptr;    // after the last
  return leaf;
}

Tree::HintedPut Tree::PutInHintedLeaf(Record& record, OnEqual onEqual, Cursor& hint) {
  Page* leaf = HintedLeaf(&hint, record.Key());
  if (!leaf) return HintedPut::kMissed;
  auto [position, equal] = PlaceKey(*leaf, record.Key());
  if (equal && onEqual == OnEqual::kRefuse) return HintedPut::kRefused;
  // The record goes in first: whether the leaf must split depends on it. A
  // leaf that must is put back as it was, and the record handed back, for the
  // descent to split it.
  if (equal) {
    record = leaf->Exchange(position, std::move(record));
  } else {
    leaf->Insert(position, std::move(record));
  }
  if (NeedsSplit(*leaf)) {
    record = equal ? leaf->Exchange(position, std::move(record)) : leaf->Take(position);
    return HintedPut::kMissed;
  }
  file_.MarkDirty(hint.leaf);
  hint.index = position;
  return HintedPut::kStored;
}

bool Tree::PutRecord(Record& record, OnEqual onEqual, Cursor* hint) {
  KMF_CHECK(record.bytes.size() <= kLargestStorableRecord);
  if (hint) {
    HintedPut put = PutInHintedLeaf(record, onEqual, *hint);
    if (put != HintedPut::kMissed) return put == HintedPut::kStored;
  }
  if (file_.root() == kNoPage) {
    uint32_t root = file_.NewPage(0);
    file_.LoadPage(root).Insert(0, std::move(record));
    file_.SetRoot(root);
    if (hint) *hint = {root, 0};
    return true;
  }
  Inserted inserted = InsertInto(file_.root(), -1, record, onEqual);
  if (hint && inserted.leaf != kNoPage) hint->leaf = inserted.leaf;
  std::vector<uint32_t> splits = std::move(inserted.splits);
  while (!splits.empty()) {
    uint32_t oldRoot = file_.root();
    const Page& old = file_.LoadPage(oldRoot);
    uint32_t newRoot = file_.NewPage(static_cast<uint8_t>(old.level + 1));
    KMF_CHECK(old.level + 1 < kMaxTreeDepth);
    Page& top = file_.LoadPage(newRoot);
    top.InsertWithChild(0, file_.LoadPage(oldRoot).records.front(), oldRoot);
    for (uint32_t split : splits)
      top.InsertWithChild(top.records.size(), file_.LoadPage(split).records.front(), split);
    file_.SetRoot(newRoot);
    splits = SplitUntilFits(newRoot, top);
  }
  return !inserted.refused;
}

void Tree::Put(Record record, Cursor* hint) {
  PutRecord(record, OnEqual::kReplace, hint);
}

bool Tree::Insert(Record record, Cursor* hint) {
  return PutRecord(record, OnEqual::kRefuse, hint);
}

bool Tree::RemoveFrom(uint32_t id, int level, std::string_view key) {
  Page& page = file_.LoadPage(id, level);
  if (!page.IsIndex()) {
    auto [position, equal] = PlaceKey(page, key);
    if (!equal) return false;
    page.Erase(position);
    file_.MarkDirty(id);
    return true;
  }
  size_t index = ChildIndex(page, key);
  int childLevel = page.level - 1;
  uint32_t childId = page.children[index];
  if (!RemoveFrom(childId, childLevel, key)) return false;
  Page& parent = file_.LoadPage(id);
  Page& child = file_.LoadPage(childId);
  bool changed = true;
  if (child.records.empty()) {
    file_.DiscardPage(childId);
    parent.Erase(index);
  } else {
    changed = RefreshIndexRecord(parent, index, childLevel);
    if (child.KeptSizeBound() < kUnderfilledBound) {
      bool merged = index + 1 < parent.records.size() && MergeChildren(id, index, childLevel);
      if (!merged && index > 0) merged = MergeChildren(id, index - 1, childLevel);
      changed = changed || merged;
    }
  }
  if (changed) file_.MarkDirty(id);
  return true;
}

bool Tree::MergeChildren(uint32_t parentId, size_t left, int childLevel) {
  Page& parent = file_.LoadPage(parentId);
  uint32_t leftId = parent.children[left];
  uint32_t rightId = parent.children[left + 1];
  Page& into = file_.LoadPage(leftId, childLevel);
  Page& from = file_.LoadPage(rightId, childLevel);
  // Both bounds count the 13-byte page header; the merged page has it once.
  uint32_t bound = into.KeptSizeBound() + from.KeptSizeBound() - kPageHeaderSize;
  if (WouldSplit(bound, into.records.size() + from.records.size())) return false;
  into.Absorb(from);
  file_.MarkDirty(leftId);
  file_.DiscardPage(rightId);
  // The left page keeps its first record, so only the right one's index record goes.
  parent.Erase(left + 1);
  return true;
}

void Tree::ShrinkRoot() {
  for (;;) {
    uint32_t root = file_.root();
    if (root == kNoPage) return;
    Page& page = file_.LoadPage(root);
    if (page.records.empty()) {
      file_.DiscardPage(root);
      file_.SetRoot(kNoPage);
      return;
    }
    if (!page.IsIndex() || page.records.size() > 1) return;
    uint32_t child = page.children.front();
    file_.DiscardPage(root);
    file_.SetRoot(child);
  }
}

bool Tree::Remove(std::string_view key, Cursor* hint) {
  if (file_.root() == kNoPage) return false;
  if (const Page* leaf = HintedLeaf(hint, key)) {
    if (!PlaceKey(*leaf, key).equal) return false;
  }
  if (!RemoveFrom(file_.root(), -1, key)) return false;
  ShrinkRoot();
  return true;
}

}  // namespace rk::kmf
