// The two-phase write-back of a KMF file and the recovery of an interrupted one.
//
// Phase one: every changed page gets its address; pages whose home lies below
// the old end of the committed data are written one after another into the
// pending area (which starts at the new end of the used ranges, at least the old
// end), the others straight to their homes; the new header (home 0, 512 bytes)
// follows them. After a flush, the old header is written at offset 0 with its two
// offsets set to the start and the end of the pending area, and flushed again.
// From here on the change survives a crash.
//
// Phase two: the pending pages are copied to their homes and flushed; the new
// header, with both offsets at the end of the used ranges, is written at offset
// 0.
//
// Why each flush is where it is (a write may reach the disk before an earlier
// one unless a flush lies between them):
// - pending area, flush, marked header: a marked header must never lead to a
//   pending area that is not all there;
// - marked header, flush, homes: the homes overwrite pages of the committed
//   tree, which only a pending area the disk knows about can restore;
// - homes, flush, new header: the new header must not lead to homes still
//   holding the old pages.
// The new header needs no flush of its own. Until the next flush the disk may
// hold it or the marked header; the marked one still leads to a complete
// pending area, and applying that area again changes nothing. So the next
// phase one writes nothing into that area (exposedArea_): a new page whose home
// lies in it travels through the new pending area, which starts after it when
// the two would overlap. Cutting the file, which drops the area, flushes first.
// A stream writing back again and again leaves out the new header altogether:
// the next phase one's first flush puts the homes on the disk before its marked
// header replaces the old marked one; the header is written when the stream
// ends. A durable write-back thus takes three flushes, one in a stream two.
//
// Recovery: a header whose offsets differ points at a pending area; each copy
// in it starts with its home offset and stored length. The copies are applied,
// unless the new tree carries a transaction marker whose transaction is still
// open in its control file; then the pending area is abandoned.
#include <algorithm>
#include <unordered_set>

#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_file.h"
#include "runtime/files/kmf_internal_error.h"
#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_transaction.h"

namespace rk::kmf {
namespace {

std::string EncodeHeaderBytes(const Header& header) {
  std::string bytes(kHeaderSize, '\0');
  EncodeHeader(header, reinterpret_cast<uint8_t*>(bytes.data()));
  return bytes;
}

uint64_t SlotKey(int pageClass, uint32_t address) {
  return (static_cast<uint64_t>(pageClass) << 32) | address;
}

}  // namespace

std::vector<uint32_t> File::CollectTreeAddresses() {
  std::vector<uint32_t> addresses;
  if (root_ == kNoPage) return addresses;
  std::vector<uint32_t> pending = {root_};
  while (!pending.empty()) {
    uint32_t id = pending.back();
    pending.pop_back();
    if (!IsTemporaryPage(id)) addresses.push_back(id);
    const Page& page = LoadPage(id);
    if (!page.IsIndex()) continue;
    for (uint32_t child : page.children) {
      // Children of level-1 pages are leaves: no need to read them.
      if (page.level == 1) {
        if (!IsTemporaryPage(child)) addresses.push_back(child);
      } else {
        pending.push_back(child);
      }
    }
  }
  return addresses;
}

void File::LoadAllIndexPages() {
  CollectTreeAddresses();
}

void File::LoadPathTo(uint32_t id) {
  if (id == root_) return;
  auto it = cache_.find(id);
  KMF_CHECK(it != cache_.end() && !it->second.page.records.empty());
  // The page's first key leads to it: no other page holds that key.
  const std::string key(it->second.page.records.front().Key());
  uint32_t at = root_;
  for (int depth = 0; at != id; ++depth) {
    KMF_CHECK(depth < kMaxTreeDepth && at != kNoPage);
    const Page& page = LoadPage(at);
    KMF_CHECK(page.IsIndex());
    at = page.children[ChildIndex(page, key)];
  }
}

void File::WriteOrFail(uint64_t offset, const std::string& bytes, uint32_t& error) {
  if (error != 0) return;
  KMF_CHECK(bytes.size() % 64 == 0);
  flushOwed_ = true;
  error = storage_->Write(offset, reinterpret_cast<const uint8_t*>(bytes.data()),
                          static_cast<uint32_t>(bytes.size()));
}

// Pages in ascending order of their homes; neighbours go out in one write.
void File::WriteAtHomes(const std::vector<PreparedWrite>& writes, uint32_t& error) {
  std::string run;
  uint64_t runStart = 0;
  for (size_t i = 0; i < writes.size(); ++i) {
    const PreparedWrite& write = writes[i];
    bool joinsNext = i + 1 < writes.size() && writes[i + 1].home == write.home + write.image.size();
    if (run.empty() && !joinsNext) {
      WriteOrFail(write.home, write.image, error);
      continue;
    }
    if (run.empty()) runStart = write.home;
    run.append(write.image);
    if (!joinsNext) {
      WriteOrFail(runStart, run, error);
      run.clear();
    }
  }
}

void File::FlushOrFail(uint32_t& error) {
  if (error != 0) return;
  error = storage_->Flush();
  if (error == 0) flushOwed_ = false;
}

// Gives every changed page its final address: pages whose class changed and new
// pages take free slots; growing ranges move other pages, whose parents then
// change too. Loops until no page needs a new slot.
void File::AssignAddresses(Header& next, std::unordered_map<uint32_t, uint32_t>& rename,
                           PageImages& images) {
  if (!allocator_.built()) {
    allocator_.Rebuild(header_, CollectTreeAddresses());
  } else {
    for (uint32_t address : discardedAddresses_) {
      int pageClass = ClassOfAddress(header_, address);
      if (pageClass != 0) allocator_.Release(pageClass, address);
    }
  }
  discardedAddresses_.clear();

  std::unordered_set<uint32_t> settled;              // pages whose slot is decided
  std::unordered_map<uint64_t, uint32_t> slotOwner;  // slots given out in this write-back
  for (;;) {
    std::vector<std::pair<uint32_t, int>> needing;
    std::array<size_t, kClassCount> demand{};
    for (auto& [id, cached] : cache_) {
      if (!cached.dirty || settled.count(id)) continue;
      std::string& image = images[id] = EncodePageImage(cached.page);
      int pageClass = ClassOfImage(image);
      KMF_CHECK(pageClass >= 1 && pageClass < kClassCount);
      settled.insert(id);
      uint32_t current = rename.count(id) ? rename[id] : id;
      if (!IsTemporaryPage(current) && ClassOfAddress(next, current) == pageClass) continue;
      if (!IsTemporaryPage(current)) allocator_.Release(ClassOfAddress(next, current), current);
      needing.emplace_back(id, pageClass);
      ++demand[pageClass];
    }
    if (needing.empty()) break;
    // A page about to move needs its parent in the cache, to take the new
    // address. Writes through a hint change a leaf without reading the pages
    // above it, and the cache may have let those go since: the path is read
    // again. (New pages were made by descents, whose paths are cached.)
    for (const auto& [id, pageClass] : needing) {
      if (!IsTemporaryPage(id)) LoadPathTo(id);
    }

    std::vector<PageMove> moves;
    for (int pageClass = 1; pageClass < kClassCount; ++pageClass) {
      if (demand[pageClass] > 0) allocator_.Reserve(next, pageClass, demand[pageClass], moves);
    }

    // A moved page keeps its content; it is loaded from its old home and written
    // at the new one. Moves name the slots as they were before this pass's new
    // slots are taken, and a page can move twice in one pass.
    for (const PageMove& move : moves) {
      // Ranges overlap while a rotation climbs upward, so a slot is known by its
      // class and address together.
      auto earlier = slotOwner.find(SlotKey(move.pageClass, move.from));
      uint32_t origin = earlier != slotOwner.end() ? earlier->second : move.from;
      if (earlier != slotOwner.end()) slotOwner.erase(earlier);
      rename[origin] = move.to;
      slotOwner[SlotKey(move.pageClass, move.to)] = origin;
      LoadPage(origin);
      MarkDirty(origin);
      settled.insert(origin);
    }
    for (const auto& [id, pageClass] : needing) {
      rename[id] = allocator_.Take(pageClass);
      slotOwner[SlotKey(pageClass, rename[id])] = id;
    }
    if (!moves.empty()) LoadAllIndexPages();

    // Every parent of a renamed page changes.
    for (auto& [id, cached] : cache_) {
      if (!cached.page.IsIndex()) continue;
      for (uint32_t child : cached.page.children) {
        if (rename.count(child) && !cached.dirty) {
          cached.dirty = true;
          ++dirtyCount_;
        }
      }
    }
  }
}

void File::ApplyRenames(const std::unordered_map<uint32_t, uint32_t>& rename) {
  lastMarkedDirty_ = kNoPage;
  for (auto& [id, cached] : cache_) {
    for (uint32_t& child : cached.page.children) {
      auto it = rename.find(child);
      if (it != rename.end()) child = it->second;
    }
  }
  std::vector<std::pair<uint32_t, CachedPage>> moved;
  for (const auto& [from, to] : rename) {
    auto it = cache_.find(from);
    if (it == cache_.end()) continue;
    *it->second.recency = to;
    moved.emplace_back(to, std::move(it->second));
    cache_.erase(it);
  }
  for (auto& [to, cached] : moved) {
    auto stale = cache_.find(to);
    if (stale != cache_.end()) {
      if (stale->second.dirty) --dirtyCount_;
      recency_.erase(stale->second.recency);
      cache_.erase(stale);
    }
    cache_.emplace(to, std::move(cached));
  }
  auto rootRename = rename.find(root_);
  if (rootRename != rename.end()) root_ = rootRename->second;
}

uint32_t File::PrepareWriteBack() {
  KMF_CHECK(!prepared_);
  if (!HasChanges()) return 0;
  Header next = header_;
  std::unordered_map<uint32_t, uint32_t> rename;
  PageImages encoded;
  AssignAddresses(next, rename, encoded);
  ApplyRenames(rename);
  // The images were encoded under the pages' ids of before the renames.
  PageImages images;
  for (auto& [id, image] : encoded) {
    auto renamed = rename.find(id);
    images.emplace(renamed != rename.end() ? renamed->second : id, std::move(image));
  }

  next.root = root_;
  uint32_t newEnd = UsedEnd(next);
  next.committedEnd = next.pendingEnd = newEnd;
  next.changeCounter = header_.changeCounter + 1;
  next.hasSignature = true;

  // Pages at homes the committed tree uses, and new ones whose home lies in
  // the last write-back's pending area, travel through the pending area; the
  // others go straight home.
  uint32_t oldEnd = std::max(header_.committedEnd, kHeaderSize);
  std::vector<uint32_t> dirtyIds;
  for (const auto& [id, cached] : cache_) {
    if (cached.dirty) dirtyIds.push_back(id);
  }
  std::sort(dirtyIds.begin(), dirtyIds.end());
  preparedPending_.clear();
  std::vector<PreparedWrite> direct;
  uint64_t pendingBytes = kHeaderSize;
  for (uint32_t id : dirtyIds) {
    KMF_CHECK(!IsTemporaryPage(id));
    KMF_CHECK(ClassOfAddress(next, id) != 0);
    const Page& page = cache_[id].page;
    auto known = images.find(id);
    std::string image;
    if (known == images.end()) {
      image = EncodePageImage(page);
    } else {
      image = std::move(known->second);
      if (page.IsIndex()) StoreChildAddresses(image, page);
    }
    KMF_CHECK(ClassOfImage(image) == ClassOfAddress(next, id));
    uint64_t home = PageOffset(id);
    FinishPage(image, home);
    if (home < oldEnd || exposedArea_.Overlaps(home, image.size())) {
      pendingBytes += image.size();
      preparedPending_.push_back({home, std::move(image)});
    } else {
      direct.push_back({home, std::move(image)});
    }
  }
  uint64_t pendingStart = std::max(newEnd, oldEnd);
  if (exposedArea_.Overlaps(pendingStart, pendingBytes))
    pendingStart = std::max(pendingStart, exposedArea_.end);

  uint32_t error = 0;
  WriteAtHomes(direct, error);
  // The pending area goes out in one write.
  std::string area;
  area.reserve(pendingBytes);
  for (const PreparedWrite& write : preparedPending_) area.append(write.image);
  area.append(EncodeHeaderBytes(next));
  WriteOrFail(pendingStart, area, error);
  const uint64_t pendingPos = pendingStart + area.size();
  // The header that points at the pending area must not reach the disk before
  // the area itself.
  FlushOrFail(error);

  Header marked = header_;
  marked.hasSignature = true;
  marked.committedEnd = static_cast<uint32_t>(pendingStart);
  marked.pendingEnd = static_cast<uint32_t>(pendingPos);
  WriteOrFail(0, EncodeHeaderBytes(marked), error);
  // The commit point: phase two overwrites homes of the committed tree, which
  // only the pending area can restore.
  FlushOrFail(error);
  if (error == 0) markedOnDisk_ = marked;

  preparedHeader_ = next;
  preparedArea_ = {pendingStart, pendingPos};
  prepared_ = true;
  if (error != 0) {
    uint32_t failure = error;
    AbandonPrepared();
    return failure;
  }
  headerOwed_ = false;  // the marked header replaced the one owed
  return 0;
}

void File::CompleteWriteBack() {
  KMF_CHECK(prepared_);
  // Readers elsewhere are kept out while the homes are written. A lock that
  // fails for another reason than a conflict does not stop the write: the
  // change is already recoverable from the pending area.
  const bool locked = denyWrite() && LockAllSlots() == 0;
  uint32_t error = 0;
  WriteAtHomes(preparedPending_, error);
  // A stream goes on writing back: the next phase one flushes these homes
  // before its marked header supersedes the one on disk, so the header with
  // equal offsets is written only when the stream ends.
  const bool deferHeader = stream_ && !inTransaction_;
  if (!deferHeader) {
    // The new header must not reach the disk before the homes it points at.
    // It needs no flush of its own: until one comes, the marked header on disk
    // still leads to a complete pending area, which the next phase one leaves
    // alone (exposedArea_).
    FlushOrFail(error);
    WriteHeaderAfterCommit(preparedHeader_, error);
  }
  if (locked) storage_->Unlock(kLockBase, kReaderSlots);
  // The change is recoverable from the pending area; continuing without its
  // homes written would build on pages that are not there.
  KMF_CHECK(error == 0);
  header_ = preparedHeader_;
  headerKnown_ = true;
  headerDirty_ = false;
  headerOwed_ = deferHeader;
  owedHeader_ = preparedHeader_;
  exposedArea_ = preparedArea_;
  for (auto& [id, cached] : cache_) cached.dirty = false;
  lastMarkedDirty_ = kNoPage;
  dirtyCount_ = 0;
  preparedPending_.clear();
  prepared_ = false;
}

uint32_t File::SettleHeader() {
  if (!headerOwed_) return 0;
  headerOwed_ = false;
  const bool locked = denyWrite() && LockAllSlots() == 0;
  uint32_t error = 0;
  FlushOrFail(error);
  WriteHeaderAfterCommit(owedHeader_, error);
  if (locked) storage_->Unlock(kLockBase, kReaderSlots);
  return error;
}

// A header write that fails may still have reached the disk in part (a short
// write), mixing the new header with the marked one: neither a header that
// leads to recovery nor a consistent tree. The marked header is put back whole,
// so that the next open recovers the change from its complete pending area.
void File::WriteHeaderAfterCommit(const Header& header, uint32_t& error) {
  if (error != 0) return;
  WriteOrFail(0, EncodeHeaderBytes(header), error);
  if (error == 0) return;
  uint32_t ignored = 0;
  WriteOrFail(0, EncodeHeaderBytes(markedOnDisk_), ignored);
  FlushOrFail(ignored);
}

void File::AbandonPrepared() {
  if (!prepared_) return;
  if (!readOnly()) {
    Header restored = header_;
    restored.hasSignature = true;
    restored.committedEnd = restored.pendingEnd = std::max(UsedEnd(header_), kHeaderSize);
    if (header_.changeCounter != 0) {
      // The homes of a streamed write-back may not be on the disk yet; until
      // they are, the header must keep pointing at their pending area.
      uint32_t error = 0;
      FlushOrFail(error);
      WriteOrFail(0, EncodeHeaderBytes(restored), error);
      FlushOrFail(error);
    }
  }
  preparedPending_.clear();
  prepared_ = false;
  DropChanges();
}

uint32_t File::WriteBack() {
  uint32_t error = PrepareWriteBack();
  if (error != 0) {
    headerCurrent_ = false;  // the header on disk may now point at a pending area
    return error;
  }
  if (prepared_) CompleteWriteBack();
  return 0;
}

bool File::PendingAreaBelongsToOpenTransaction(
    const Header& pendingHeader, const std::unordered_map<uint64_t, std::string>& pages) {
  if (pendingHeader.root == kNoPage) return false;
  // Markers sort after every other record: follow the rightmost path.
  uint32_t address = pendingHeader.root;
  for (int depth = 0; depth < 64; ++depth) {
    int pageClass = ClassOfAddress(pendingHeader, address);
    if (pageClass == 0) return false;
    uint64_t home = PageOffset(address);
    std::string bytes;
    auto copy = pages.find(home);
    if (copy != pages.end()) {
      bytes = copy->second;
    } else {
      bytes.assign(pageClass * kUnitSize, '\0');
      ReadExact(home, reinterpret_cast<uint8_t*>(bytes.data()),
                static_cast<uint32_t>(bytes.size()));
    }
    Page page;
    std::string problem;
    if (bytes.size() != pageClass * kUnitSize ||
        !DecodePage(Bytes(bytes), bytes.size(), page, problem) || page.records.empty()) {
      return false;
    }
    if (page.IsIndex()) {
      address = page.children.back();
      continue;
    }
    for (const Record& record : page.records) {
      std::string_view key = record.Key();
      if (key.size() == 5 && static_cast<uint8_t>(key[0]) == kMarkerTag) {
        uint32_t transactionKey = LoadLe32(reinterpret_cast<const uint8_t*>(key.data() + 1));
        if (TransactionStillOpen(std::string(record.Data()), transactionKey)) return true;
      }
    }
    return false;
  }
  return false;
}

void File::Recover() {
  uint8_t raw[kHeaderSize];
  ReadExact(0, raw, kHeaderSize);
  Header onDisk = DecodeHeader(raw);
  std::unordered_map<uint64_t, std::string> pages;
  Header pendingHeader;
  bool haveHeader = false;
  bool wellFormed = onDisk.pendingEnd > onDisk.committedEnd &&
                    (onDisk.pendingEnd - onDisk.committedEnd) % kUnitSize == 0;
  for (uint64_t pos = onDisk.committedEnd; wellFormed && pos < onDisk.pendingEnd;) {
    uint8_t head[kUnitSize];
    ReadExact(pos, head, kUnitSize);
    uint32_t home = LoadLe32(head);
    uint32_t length = (LoadLe16(head + 4) + kUnitSize - 1) / kUnitSize * kUnitSize;
    if (length == 0 || length > kMaxPageBytes || pos + length > onDisk.pendingEnd ||
        (home != 0 && (home < kHeaderSize || (home - kHeaderSize) % kUnitSize != 0))) {
      wellFormed = false;
      break;
    }
    std::string bytes(length, '\0');
    ReadExact(pos, reinterpret_cast<uint8_t*>(bytes.data()), length);
    if (home == 0) {
      pendingHeader = DecodeHeader(Bytes(bytes));
      haveHeader = pendingHeader.hasSignature && length == kHeaderSize;
    } else {
      pages[home] = std::move(bytes);
    }
    pos += length;
  }
  bool apply =
      wellFormed && haveHeader && !PendingAreaBelongsToOpenTransaction(pendingHeader, pages);
  DropCache();
  if (readOnly()) {
    header_ = apply ? pendingHeader : onDisk;
  } else if (apply) {
    const bool locked = denyWrite() && LockAllSlots() == 0;
    uint32_t error = 0;
    for (const auto& [home, bytes] : pages) WriteOrFail(home, bytes, error);
    FlushOrFail(error);
    pendingHeader.committedEnd = pendingHeader.pendingEnd = UsedEnd(pendingHeader);
    WriteOrFail(0, EncodeHeaderBytes(pendingHeader), error);
    FlushOrFail(error);
    if (locked) storage_->Unlock(kLockBase, kReaderSlots);
    KMF_CHECK(error == 0);
    header_ = pendingHeader;
  } else {
    onDisk.committedEnd = onDisk.pendingEnd = UsedEnd(onDisk);
    uint32_t error = 0;
    WriteOrFail(0, EncodeHeaderBytes(onDisk), error);
    FlushOrFail(error);
    KMF_CHECK(error == 0);
    header_ = onDisk;
  }
  if (readOnly()) header_.committedEnd = header_.pendingEnd = UsedEnd(header_);
  headerKnown_ = true;
  root_ = header_.root;
}

}  // namespace rk::kmf
