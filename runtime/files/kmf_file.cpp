#include "runtime/files/kmf_file.h"
#include "runtime/files/error_codes.h"

#include <algorithm>

#include "runtime/files/kmf_internal_error.h"
#include "runtime/files/lock_wait.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/os_errors.h"

namespace rk::kmf {
namespace {

// Cache trimming: below this nothing is dropped ...
constexpr size_t kCacheKeep = 20;
// ... at this size and above pages are dropped until fewer remain ...
constexpr size_t kCacheLimit = 100;
// ... and in between a page goes when it has not been used in this many
// operations per cached page. Idleness counts operations, not page uses: an
// operation that descends the tree three times touches a dozen pages, and
// counting those would age the index pages above a large table, each used
// only by some of the operations, out of the cache between their uses.
constexpr uint64_t kIdleFactor = 4;

constexpr uint32_t kFirstInvalidNumber = 0xFE000000;

}  // namespace

File::File(std::unique_ptr<Storage> storage, std::string path, uint32_t mode)
    : storage_(std::move(storage)), path_(std::move(path)), mode_(mode) {
  readerSlot_ = platform::CentisecondClock() % 1024 % kReaderSlots;
  readOnce_.fill(kNoPage);
}

File::~File() {
  ReleaseAccessLock();
}

uint32_t File::Open(const std::string& path, uint32_t mode, std::unique_ptr<File>& file) {
  std::unique_ptr<Storage> storage;
  uint32_t error = OpenStorage(path, mode, storage);
  if (error != 0) return error;
  file.reset(new File(std::move(storage), path, mode));
  return 0;
}

void File::ReadExact(uint64_t offset, uint8_t* buffer, uint32_t count) {
  KMF_CHECK(count % 64 == 0);
  uint32_t got = 0;
  uint32_t error = storage_->Read(offset, buffer, count, got);
  KMF_CHECK(error == 0);
  KMF_CHECK(got == count);
}

bool File::ReadHeader(Header& header) {
  uint8_t bytes[kHeaderSize];
  uint32_t got = 0;
  uint32_t error = storage_->Read(0, bytes, kHeaderSize, got);
  KMF_CHECK(error == 0);
  if (got < kHeaderSize) {
    header = NewHeader();  // nothing written yet: a new file
    return true;
  }
  header = DecodeHeader(bytes);
  return header.hasSignature;
}

uint32_t File::LockAllSlots() {
  return RetryWhileLocked(-1, [this] { return storage_->Lock(kLockBase, kReaderSlots); });
}

uint32_t File::TakeAccessLock(bool forWrite) {
  if (forWrite && !readOnly()) {
    uint32_t error = LockAllSlots();
    if (error == 0) accessLock_ = AccessLock::kWriter;
    return error;
  }
  // A taken slot moves the reader on to the next one; when every slot is taken
  // (a writer holds them all) the wait goes round until the writer is done.
  uint32_t error = RetryWhileLocked(-1, [this] {
    uint32_t answer = 0;
    for (uint64_t tried = 0; tried < kReaderSlots; ++tried) {
      answer = storage_->Lock(kLockBase + readerSlot_, 1);
      if (answer != platform::kErrorLockViolation) break;
      readerSlot_ = (readerSlot_ + 1) % kReaderSlots;
    }
    return answer;
  });
  if (error == 0) accessLock_ = AccessLock::kReader;
  return error;
}

int32_t File::BeginAccess(bool forWrite) {
  if (forWrite && accessLock_ == AccessLock::kReader) ReleaseAccessLock();
  if (lockingNeeded() && accessLock_ == AccessLock::kNone) {
    if (TakeAccessLock(forWrite) != 0) return kOsFailure;
  }
  // A stream holds its lock between write-backs: the header on disk is the one
  // it left pointing at its last pending area, not an interrupted write-back.
  if (headerOwed_) return 0;
  // Opened deny-write or deny-all, the file has no other writer: the header
  // read at the first access (or after a failed write-back) is still the one on
  // disk, and reading it again before every operation would only cost time.
  if (!lockingNeeded() && headerKnown_ && headerCurrent_) return 0;
  Header onDisk;
  if (!ReadHeader(onDisk)) return file_error::kInvalidDataFile;
  if (!headerKnown_ || onDisk.changeCounter > header_.changeCounter) {
    DropCache();
    header_ = onDisk;
    root_ = header_.root;
    headerKnown_ = true;
  }
  if (onDisk.committedEnd != onDisk.pendingEnd) Recover();
  headerCurrent_ = true;
  return 0;
}

void File::ReleaseAccessLock() {
  // Others may read once the lock is gone; they find the header settled.
  if (SettleHeader() != 0) headerCurrent_ = false;
  if (accessLock_ == AccessLock::kWriter) {
    storage_->Unlock(kLockBase, kReaderSlots);
  } else if (accessLock_ == AccessLock::kReader) {
    storage_->Unlock(kLockBase + readerSlot_, 1);
  }
  accessLock_ = AccessLock::kNone;
}

void File::UnlockByte(uint64_t offset) {
  KMF_CHECK(storage_->Unlock(offset, 1) == 0);
}

uint32_t File::EndOperation() {
  ++operationClock_;
  uint32_t error = 0;
  bool deferred = inTransaction_ || (stream_ && dirtyCount_ < kStreamPageLimit);
  if (HasChanges() && !deferred) error = WriteBack();
  if (!deferred || !HasChanges()) {
    if (!stream_ && !inTransaction_) ReleaseAccessLock();
    TrimCache();
  }
  return error;
}

void File::SetRoot(uint32_t id) {
  root_ = id;
  headerDirty_ = true;
}

std::string_view File::ReadPageBytes(uint32_t id) {
  KMF_CHECK(!IsTemporaryPage(id) && id != kNoPage);
  int pageClass = ClassOfAddress(header_, id);
  KMF_CHECK(pageClass != 0);
  // One read buffer serves every page read (a page is decoded before the next
  // is read), so a cache miss allocates only for the decoded records.
  thread_local std::string bytes;
  bytes.resize(pageClass * kUnitSize);
  ReadExact(PageOffset(id), reinterpret_cast<uint8_t*>(bytes.data()),
            static_cast<uint32_t>(bytes.size()));
  KMF_CHECK(ReadPageHeader(reinterpret_cast<const uint8_t*>(bytes.data())).ownOffset ==
            PageOffset(id));
  return bytes;
}

Page& File::LoadFromDisk(uint32_t id, std::string_view bytes, int expectedLevel) {
  CachedPage cached;
  std::string problem;
  KMF_CHECK(DecodePage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), cached.page,
                       problem));
  KMF_CHECK(expectedLevel < 0 || cached.page.level == expectedLevel);
  return AddToCache(id, std::move(cached)).page;
}

Page& File::LoadPage(uint32_t id, int expectedLevel) {
  auto it = cache_.find(id);
  if (it == cache_.end()) return LoadFromDisk(id, ReadPageBytes(id), expectedLevel);
  KMF_CHECK(expectedLevel < 0 || it->second.page.level == expectedLevel);
  Touch(it->second);
  return it->second.page;
}

bool File::ReadOnceBefore(uint32_t id) {
  for (uint32_t earlier : readOnce_) {
    if (earlier == id) return true;
  }
  readOnce_[readOnceNext_] = id;
  readOnceNext_ = (readOnceNext_ + 1) % readOnce_.size();
  return false;
}

Page* File::FindCached(uint32_t id) {
  auto it = cache_.find(id);
  if (it == cache_.end()) return nullptr;
  Touch(it->second);
  return &it->second.page;
}

File::LeafRead File::ReadLeaf(uint32_t id, bool readingOn) {
  LeafRead leaf;
  if ((leaf.page = FindCached(id))) {
    KMF_CHECK(leaf.page->level == 0);
    return leaf;
  }
  std::string_view bytes = ReadPageBytes(id);
  if (readingOn || ReadOnceBefore(id)) {
    leaf.page = &LoadFromDisk(id, bytes, 0);
    return leaf;
  }
  std::string problem;
  KMF_CHECK(
      OpenPage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), leaf.opened, problem));
  KMF_CHECK(leaf.opened.fields.level == 0);
  return leaf;
}

File::CachedPage& File::AddToCache(uint32_t id, CachedPage cached) {
  CachedPage& added = cache_.emplace(id, std::move(cached)).first->second;
  added.recency = recency_.insert(recency_.begin(), id);
  added.lastUse = operationClock_;
  return added;
}

void File::Touch(CachedPage& cached) {
  // A page used again within one operation is already ahead of every page of
  // the operations before; pages of one operation are equally idle, so their
  // order among themselves does not matter and the page need not move.
  if (cached.lastUse == operationClock_) return;
  cached.lastUse = operationClock_;
  if (cached.recency != recency_.begin())
    recency_.splice(recency_.begin(), recency_, cached.recency);
}

uint32_t File::NewPage(uint8_t level) {
  uint32_t id = nextTemporaryId_++;
  CachedPage cached;
  cached.page.level = level;
  cached.dirty = true;
  AddToCache(id, std::move(cached));
  ++dirtyCount_;
  return id;
}

Page& File::ChangePage(uint32_t id, int expectedLevel) {
  auto it = cache_.find(id);
  if (it == cache_.end()) {
    LoadPage(id, expectedLevel);
    it = cache_.find(id);
  } else {
    KMF_CHECK(expectedLevel < 0 || it->second.page.level == expectedLevel);
    Touch(it->second);
  }
  SetDirty(id, it->second);
  return it->second.page;
}

void File::MarkDirty(uint32_t id) {
  if (id == lastMarkedDirty_) return;
  auto it = cache_.find(id);
  KMF_CHECK(it != cache_.end());
  SetDirty(id, it->second);
}

void File::SetDirty(uint32_t id, CachedPage& cached) {
  if (!cached.dirty) {
    cached.dirty = true;
    ++dirtyCount_;
  }
  lastMarkedDirty_ = id;
}

void File::DiscardPage(uint32_t id) {
  lastMarkedDirty_ = kNoPage;
  auto it = cache_.find(id);
  if (it != cache_.end()) {
    if (it->second.dirty) --dirtyCount_;
    recency_.erase(it->second.recency);
    cache_.erase(it);
  }
  if (!IsTemporaryPage(id)) discardedAddresses_.push_back(id);
  headerDirty_ = true;
}

uint32_t File::IssueNumber() {
  uint32_t next = header_.lastNumberIssued + 1;
  KMF_CHECK(next < kFirstInvalidNumber);
  header_.lastNumberIssued = next;
  headerDirty_ = true;
  return next;
}

void File::ContinueNumbersFrom(uint32_t last) {
  if (last <= header_.lastNumberIssued) return;
  header_.lastNumberIssued = last;
  headerDirty_ = true;
}

void File::DropCache() {
  lastMarkedDirty_ = kNoPage;
  cache_.clear();
  readOnce_.fill(kNoPage);
  recency_.clear();
  dirtyCount_ = 0;
  headerDirty_ = false;
  headerOwed_ = false;  // the header on disk is read again, and recovered
  discardedAddresses_.clear();
  allocator_.Invalidate();
}

void File::DropChanges() {
  DropCache();
  headerKnown_ = false;
  headerCurrent_ = false;
  root_ = header_.root;
}

void File::TrimCache() {
  if (cache_.size() < kCacheKeep) return;
  uint64_t idleLimit = kIdleFactor * cache_.size();
  // From the idlest page towards the most recently used one.
  for (auto position = recency_.end(); position != recency_.begin();) {
    if (cache_.size() < kCacheKeep) break;
    --position;
    auto it = cache_.find(*position);
    const CachedPage& cached = it->second;
    // Index pages stay while changes are pending: the write-back needs the
    // parents of the pages it moves.
    if (cached.dirty || (dirtyCount_ > 0 && cached.page.IsIndex())) continue;
    bool overLimit = cache_.size() >= kCacheLimit;
    if (!overLimit && operationClock_ - cached.lastUse <= idleLimit) break;
    position = recency_.erase(position);
    cache_.erase(it);
  }
}

uint32_t File::CutToUsedEnd() {
  // A file whose header was never written has nothing to cut (and must not be
  // extended to a header of zeros).
  if (readOnly() || header_.changeCounter == 0) return 0;
  // The cut removes the last pending area: the header that no longer points
  // at it must be on the disk first.
  uint32_t error = SettleHeader();
  if (error == 0 && flushOwed_) FlushOrFail(error);
  if (error != 0) return error;
  return storage_->Truncate(header_.committedEnd);
}

}  // namespace rk::kmf
