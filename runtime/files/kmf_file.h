// One open KMF operating-system file: its handle, header, page cache, page
// allocation, access locks and the two-phase write-back. Every table of the file
// that is open shares this object.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_page.h"
#include "runtime/files/kmf_page_allocator.h"
#include "runtime/files/kmf_storage.h"

namespace rk::kmf {

// Page ids: a page on disk is known by its address; a page made since the last
// write-back has a temporary id from this base up until it gets an address.
inline constexpr uint32_t kTemporaryPageBase = 0x40000000;
inline bool IsTemporaryPage(uint32_t id) {
  return id >= kTemporaryPageBase && id != kNoPage;
}

// Byte-range lock offsets of the access protocol and the record locks.
inline constexpr uint64_t kLockBase = 0x80000000ULL;
inline constexpr uint64_t kReaderSlots = 1023;
inline constexpr uint64_t kRecordLockBase = kLockBase + 0x400 + 1;

// An operating-system failure: the caller posts 300 + the last OS error.
inline constexpr int32_t kOsFailure = -300;

// Writes pending in STREAM mode before a write-back is forced.
inline constexpr size_t kStreamPageLimit = 40;

// Levels of a key tree, root to leaf. A tree of full pages is far shallower;
// a descent that goes deeper is following a loop in a damaged file.
inline constexpr int kMaxTreeDepth = 32;

class File {
 public:
  static uint32_t Open(const std::string& path, uint32_t mode, std::unique_ptr<File>& file);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  const std::string& path() const { return path_; }
  bool readOnly() const { return (mode_ & 0x03) == 0; }
  bool lockingNeeded() const {
    uint32_t sharing = mode_ & 0xF0;
    return sharing == 0x00 || sharing == 0x40;
  }
  bool denyWrite() const { return (mode_ & 0xF0) == 0x20; }

  // Access protocol. BeginAccess takes the reader's or the writer's lock when
  // the file is shared, reads the header (36 "Invalid Data File" when it lacks the signature),
  // drops the cache when another program wrote, and finishes an interrupted write-back. A lock that
  // fails for another reason than a conflict answers kOsFailure.
  int32_t BeginAccess(bool forWrite);
  // End of an operation: writes back unless STREAM (below 40 pages) or a LOGOUT
  // transaction defers it, and releases the access lock. Returns the OS error of
  // a failed write-back (0 when none).
  uint32_t EndOperation();
  void SetStream(bool on) { stream_ = on; }
  bool stream() const { return stream_; }
  void SetInTransaction(bool on) { inTransaction_ = on; }
  bool inTransaction() const { return inTransaction_; }

  // The tree's pages.
  uint32_t root() const { return root_; }
  void SetRoot(uint32_t id);
  // Loads through the cache; a damaged page or a level other than the expected
  // one (-1: any) is an internal error.
  Page& LoadPage(uint32_t id, int expectedLevel = -1);
  // The page where the cache holds it (used now), or null; nothing is read.
  Page* FindCached(uint32_t id);
  // A leaf page read for one of its records: the cached page when the cache
  // holds it; otherwise the page read and opened, its records left encoded
  // (valid until the next page read). Such a page enters the cache only when
  // the reads go on through it (`readingOn`) or when it was read this way a
  // short while before, so that reads scattered over many pages do not decode
  // whole pages that the cache would drop again before their next use.
  struct LeafRead {
    Page* page = nullptr;
    OpenedPage opened;
  };
  LeafRead ReadLeaf(uint32_t id, bool readingOn);
  uint32_t NewPage(uint8_t level);
  void MarkDirty(uint32_t id);
  // LoadPage and MarkDirty in one lookup, for a page about to change.
  Page& ChangePage(uint32_t id, int expectedLevel = -1);
  void DiscardPage(uint32_t id);

  // The next record or table number; the counter is saved with the next write-back.
  uint32_t IssueNumber();
  // Makes the counter go on from at least `last` (a copy keeps its original's numbers).
  void ContinueNumbersFrom(uint32_t last);
  const Header& header() const { return header_; }

  bool HasChanges() const { return headerDirty_ || dirtyCount_ > 0; }
  size_t dirtyPages() const { return dirtyCount_; }
  // Both phases; returns the OS error of a failed phase one (the changes are then
  // dropped and the file stays as it was).
  uint32_t WriteBack();
  uint32_t PrepareWriteBack();  // phase one
  // Phase two. In STREAM mode outside a transaction the new header waits for the
  // next write-back, which supersedes it, or for the end of the stream.
  void CompleteWriteBack();
  // Gives up a prepared write-back: the old header is rewritten with equal
  // offsets and every change is dropped.
  void AbandonPrepared();
  // Drops every unsaved change; the header is read again at the next access.
  void DropChanges();
  // Cuts the operating-system file after the last used page range.
  uint32_t CutToUsedEnd();

  // One-byte record and table locks (43/32 decided by the caller).
  uint32_t LockByte(uint64_t offset) { return storage_->Lock(offset, 1); }
  void UnlockByte(uint64_t offset);
  void ReleaseAccessLock();
  // Writes the header that a streamed write-back left owed (its homes flushed
  // first); returns the OS error, the file staying recoverable when it fails.
  uint32_t SettleHeader();

  // Reads a whole byte range of the file; short reads are internal errors.
  void ReadExact(uint64_t offset, uint8_t* buffer, uint32_t count);
  Storage& storage() { return *storage_; }

 private:
  struct CachedPage {
    Page page;
    bool dirty = false;
    uint64_t lastUse = 0;                   // the operation clock at its last use
    std::list<uint32_t>::iterator recency;  // its place in recency_
  };
  struct PreparedWrite {
    uint64_t home;
    std::string image;
  };
  // A byte range of the file, [start, end).
  struct Extent {
    uint64_t start = 0;
    uint64_t end = 0;
    bool Overlaps(uint64_t from, uint64_t length) const {
      return from < end && start < from + length;
    }
  };

  File(std::unique_ptr<Storage> storage, std::string path, uint32_t mode);
  uint32_t TakeAccessLock(bool forWrite);
  // The writer's lock: every reader slot, waited for through the shared loop.
  uint32_t LockAllSlots();
  bool ReadHeader(Header& header);
  // Reads the page's bytes into a per-thread buffer and checks that they are
  // its own; a failed read or a page at another offset is an internal error.
  std::string_view ReadPageBytes(uint32_t id);
  Page& LoadFromDisk(uint32_t id, std::string_view bytes, int expectedLevel);
  bool ReadOnceBefore(uint32_t id);
  CachedPage& AddToCache(uint32_t id, CachedPage cached);
  void Touch(CachedPage& cached);
  void SetDirty(uint32_t id, CachedPage& cached);
  void DropCache();
  void TrimCache();
  void Recover();
  std::vector<uint32_t> CollectTreeAddresses();
  void LoadAllIndexPages();
  // Reads the pages from the root down to the page into the cache.
  void LoadPathTo(uint32_t id);
  // Page images encoded during a write-back, by page id, so that each changed
  // page is encoded once.
  using PageImages = std::unordered_map<uint32_t, std::string>;
  void AssignAddresses(Header& next, std::unordered_map<uint32_t, uint32_t>& rename,
                       PageImages& images);
  void ApplyRenames(const std::unordered_map<uint32_t, uint32_t>& rename);
  void WriteOrFail(uint64_t offset, const std::string& bytes, uint32_t& error);
  void FlushOrFail(uint32_t& error);
  void WriteAtHomes(const std::vector<PreparedWrite>& writes, uint32_t& error);
  void WriteHeaderAfterCommit(const Header& header, uint32_t& error);
  bool PendingAreaBelongsToOpenTransaction(const Header& pendingHeader,
                                           const std::unordered_map<uint64_t, std::string>& pages);

  std::unique_ptr<Storage> storage_;
  std::string path_;
  uint32_t mode_;
  Header header_;
  bool headerKnown_ = false;
  // The header on disk is known to equal header_ (no other writer, and no
  // failed write-back since it was read).
  bool headerCurrent_ = false;
  bool headerDirty_ = false;
  uint32_t root_ = kNoPage;
  std::unordered_map<uint32_t, CachedPage> cache_;
  // The cached page ids, most recently used first, so that trimming takes the
  // idlest pages without sorting the cache.
  std::list<uint32_t> recency_;
  // The leaves read last without entering the cache (File::ReadLeaf).
  std::array<uint32_t, 32> readOnce_{};
  size_t readOnceNext_ = 0;
  size_t dirtyCount_ = 0;
  // The page marked changed last, while it is cached and changed: marking it
  // again (as writes to one leaf do, one after another) needs no lookup.
  // Whatever drops pages, renames them or writes them back forgets it.
  uint32_t lastMarkedDirty_ = kNoPage;
  uint32_t nextTemporaryId_ = kTemporaryPageBase;
  uint64_t operationClock_ = 0;  // operations ended
  PageAllocator allocator_;
  std::vector<uint32_t> discardedAddresses_;
  bool stream_ = false;
  bool inTransaction_ = false;

  enum class AccessLock { kNone, kReader, kWriter };
  AccessLock accessLock_ = AccessLock::kNone;
  uint32_t readerSlot_ = 0;

  bool prepared_ = false;
  Header preparedHeader_;
  // The header on the disk that points at the pending area, from the commit
  // point until a header with equal offsets has been written whole.
  Header markedOnDisk_;
  std::vector<PreparedWrite> preparedPending_;
  Extent preparedArea_;
  // The pending area of the last completed write-back. Until a later header
  // has reached the disk the header there may still point at it, so the next
  // phase one writes nothing into it.
  Extent exposedArea_;
  // A streamed write-back wrote its homes but not yet the header with equal
  // offsets; the one on disk still points at its (complete) pending area.
  bool headerOwed_ = false;
  Header owedHeader_;
  // Something was written since the last flush.
  bool flushOwed_ = false;
};

}  // namespace rk::kmf
