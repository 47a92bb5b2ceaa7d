// Shared helpers of the KMF tests: the temporary directory per test and storage
// wrappers installed through the driver's storage opener - one that skips the
// operating system's flushes (tests that do not crash need no durable disk), and
// one that stops the world after the k-th write, flush or truncate, optionally
// as a power loss would stop it: the writes and cuts since a file's last flush
// may then reach the disk only in part, and in another order than they were
// made, and the write in progress may be torn after any of its sectors.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/files/kmf_file.h"
#include "runtime/files/kmf_storage.h"
#include "tests/files/temp_directory.h"

namespace rk::kmf::testing {

using test_files::TempDirectory;

// What survives of the writes not yet flushed when the world stops.
enum class PowerLoss {
  kNone,         // the process dies, the operating system writes everything
  kLoseAll,      // none of them
  kKeepLatest,   // only the latest of each file
  kLoseEarliest  // all but the earliest of each file
};

// The writes and cuts made since each file's last flush, with the bytes they
// replaced or cut off, so that a stop can take back those a power loss would
// have lost. A cut does not make the writes before it durable: only a flush does.
class UnflushedWrites {
 public:
  static void Record(const std::string& path, uint64_t offset, const uint8_t* data,
                     uint32_t count) {
    Add(path, {offset, ReadBytes(path, offset, count), std::string(data, data + count), false});
  }
  static void Flushed(const std::string& path) { Files().erase(path); }
  static void Truncated(const std::string& path, uint64_t length) {
    uint64_t size = std::filesystem::file_size(path);
    std::string cut = size > length ? ReadBytes(path, length, static_cast<uint32_t>(size - length))
                                    : std::string();
    Add(path, {length, std::move(cut), {}, true});
  }
  static void Forget() { Files().clear(); }

  // Takes back every unflushed write, then makes again those that survive.
  static void Apply(PowerLoss loss) {
    if (loss == PowerLoss::kNone) return;
    for (auto& [path, file] : Files()) {
      int fd = ::open(path.c_str(), O_WRONLY);
      if (fd < 0) continue;
      for (auto it = file.writes.rbegin(); it != file.writes.rend(); ++it)
        Put(fd, it->offset, it->before);
      if (ftruncate(fd, static_cast<off_t>(file.sizeAtFlush)) != 0) _exit(8);
      for (size_t i = 0; i < file.writes.size(); ++i) {
        bool latest = i + 1 == file.writes.size();
        if ((loss == PowerLoss::kKeepLatest && latest) ||
            (loss == PowerLoss::kLoseEarliest && i > 0)) {
          const Entry& entry = file.writes[i];
          if (!entry.truncate) {
            Put(fd, entry.offset, entry.after);
          } else if (ftruncate(fd, static_cast<off_t>(entry.offset)) != 0) {
            _exit(8);
          }
        }
      }
      ::close(fd);
    }
  }

 private:
  struct Entry {
    uint64_t offset;     // of the write, or the length a cut left
    std::string before;  // as far as the file reached; for a cut, the bytes cut off
    std::string after;
    bool truncate;
  };
  static void Add(const std::string& path, Entry entry) {
    auto& file = Files()[path];
    if (file.writes.empty()) file.sizeAtFlush = std::filesystem::file_size(path);
    file.writes.push_back(std::move(entry));
  }
  struct FileWrites {
    uint64_t sizeAtFlush = 0;
    std::vector<Entry> writes;
  };
  static std::map<std::string, FileWrites>& Files() {
    static std::map<std::string, FileWrites> files;
    return files;
  }
  static std::string ReadBytes(const std::string& path, uint64_t offset, uint32_t count) {
    std::string bytes(count, '\0');
    int fd = ::open(path.c_str(), O_RDONLY);
    ssize_t got = fd < 0 ? 0 : pread(fd, bytes.data(), count, static_cast<off_t>(offset));
    if (fd >= 0) ::close(fd);
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
  }
  static void Put(int fd, uint64_t offset, const std::string& bytes) {
    if (!bytes.empty() && pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) !=
                              static_cast<ssize_t>(bytes.size())) {
      _exit(8);
    }
  }
};

// Counts writes, flushes and truncates; after `stopAfter` of them (0: never)
// the process ends at once, as a crash (or with `powerLoss`, a power loss) would
// end it, leaving the file as far as it got. With `tornSectors`, the write that
// is the last event reaches the disk only up to that many 512-byte sectors.
class CountingStorage : public Storage {
 public:
  CountingStorage(std::unique_ptr<Storage> inner, bool flushes, std::string path = "")
      : inner_(std::move(inner)), flushes_(flushes), path_(std::move(path)) {}
  static inline PowerLoss powerLoss = PowerLoss::kNone;
  static inline long stopAfter = 0;
  static inline long events = 0;
  static inline uint32_t tornSectors = 0;
  static constexpr uint32_t kSector = 512;
  // The write, flush or truncate with this number (0: none) fails as `fault`
  // says: a full disk or an I/O error leave the file as it was; a short write
  // puts the first half of its bytes and answers access denied, as the
  // operating system's storage does. A flush or truncate cannot be short: it
  // fails as an I/O error instead.
  enum class Fault { kDiskFull, kIoError, kShortWrite };
  static inline long failAt = 0;
  static inline Fault fault = Fault::kDiskFull;
  static constexpr uint32_t kDiskFull = 39;   // ENOSPC
  static constexpr uint32_t kIoError = 31;    // EIO
  static constexpr uint32_t kShortWrite = 5;  // what a write that stops short answers
  // The read with this number (counted in `reads`, 0: none) fails as an I/O error.
  static inline long failReadAt = 0;
  // One letter per event, 'w' for a write, 'f' for a flush, 't' for a truncate.
  static inline std::string trace;
  // The byte count of each event that is a write (0 for the others).
  static inline std::vector<uint32_t> writeSizes;
  // Reads of every file, for tests of what the page cache saves.
  static inline long reads = 0;

  uint32_t Read(uint64_t offset, uint8_t* buffer, uint32_t count, uint32_t& bytesRead) override {
    if (++reads == failReadAt) {
      bytesRead = 0;
      return kIoError;
    }
    return inner_->Read(offset, buffer, count, bytesRead);
  }
  uint32_t Write(uint64_t offset, const uint8_t* data, uint32_t count) override {
    if (FailsNow()) {
      if (fault != Fault::kShortWrite) return FailureCode();
      inner_->Write(offset, data, count / 2);
      return kShortWrite;
    }
    uint32_t reaching = count;
    if (tornSectors > 0 && events + 1 == stopAfter) {
      reaching = std::min(count, tornSectors * kSector);
    }
    if (powerLoss != PowerLoss::kNone) UnflushedWrites::Record(path_, offset, data, reaching);
    uint32_t error = inner_->Write(offset, data, reaching);
    trace += 'w';
    writeSizes.push_back(count);
    Event();
    return error;
  }
  uint32_t Flush() override {
    if (FailsNow()) return FailureCode();
    uint32_t error = flushes_ ? inner_->Flush() : 0;
    if (error == 0) UnflushedWrites::Flushed(path_);
    trace += 'f';
    writeSizes.push_back(0);
    Event();
    return error;
  }
  uint32_t Truncate(uint64_t length) override {
    if (FailsNow()) return FailureCode();
    if (powerLoss != PowerLoss::kNone) UnflushedWrites::Truncated(path_, length);
    uint32_t error = inner_->Truncate(length);
    trace += 't';
    writeSizes.push_back(0);
    Event();
    return error;
  }
  uint32_t Lock(uint64_t offset, uint64_t length) override { return inner_->Lock(offset, length); }
  uint32_t Unlock(uint64_t offset, uint64_t length) override {
    return inner_->Unlock(offset, length);
  }

 private:
  static uint32_t FailureCode() { return fault == Fault::kDiskFull ? kDiskFull : kIoError; }
  static bool FailsNow() {
    if (failAt == 0 || events + 1 != failAt) return false;
    ++events;
    return true;
  }
  void Event() {
    ++events;
    if (stopAfter > 0 && events >= stopAfter) {
      UnflushedWrites::Apply(powerLoss);
      _exit(0);
    }
  }
  std::unique_ptr<Storage> inner_;
  bool flushes_;
  std::string path_;
};

// Installs counting storage without durable flushes for the lifetime of the
// object (tests that never crash the machine need none).
class FastStorage {
 public:
  FastStorage() {
    CountingStorage::stopAfter = 0;
    CountingStorage::events = 0;
    SetStorageOpener([](const std::string& path, uint32_t mode, std::unique_ptr<Storage>& storage) {
      std::unique_ptr<Storage> inner;
      uint32_t error = OpenOsStorage(path, mode, inner);
      if (error == 0) storage = std::make_unique<CountingStorage>(std::move(inner), false, path);
      return error;
    });
  }
  ~FastStorage() {
    SetStorageOpener(nullptr);
    CountingStorage::stopAfter = 0;
    CountingStorage::failAt = 0;
    CountingStorage::failReadAt = 0;
    CountingStorage::fault = CountingStorage::Fault::kDiskFull;
    CountingStorage::tornSectors = 0;
    CountingStorage::powerLoss = PowerLoss::kNone;
    UnflushedWrites::Forget();
  }
};

// Tests that work on one KMF file below the tables: its path in a temporary
// directory, fast storage, and the file opened read/write, deny write.
class FileTest : public ::testing::Test {
 protected:
  explicit FileTest(const char* name) : path_(dir_.File(name)) {}

  std::unique_ptr<File> OpenFile() {
    std::unique_ptr<File> file;
    EXPECT_EQ(File::Open(path_, 0x122, file), 0u);
    return file;
  }

  TempDirectory dir_;
  FastStorage fastStorage_;
  std::string path_;
};

}  // namespace rk::kmf::testing
