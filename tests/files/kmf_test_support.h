// Shared helpers of the KMF tests: the temporary directory per test and storage
// wrappers installed through the driver's storage opener - one that skips the
// operating system's flushes (tests that do not crash need no durable disk), and
// one that stops the world after the k-th write or flush.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "runtime/files/kmf_file.h"
#include "runtime/files/kmf_storage.h"
#include "tests/files/temp_directory.h"

namespace rk::kmf::testing {

using test_files::TempDirectory;

// Counts writes and flushes; after `stopAfter` of them (0: never) the process
// ends at once, as a crash would end it, leaving the file as far as it got.
class CountingStorage : public Storage {
 public:
  CountingStorage(std::unique_ptr<Storage> inner, bool flushes)
      : inner_(std::move(inner)), flushes_(flushes) {}
  static inline long stopAfter = 0;
  static inline long events = 0;
  // The write or flush with this number (0: none) fails as a full disk would,
  // without touching the file.
  static inline long failAt = 0;
  static constexpr uint32_t kDiskFull = 39;
  // One letter per event, 'w' for a write and 'f' for a flush.
  static inline std::string trace;
  // Reads of every file, for tests of what the page cache saves.
  static inline long reads = 0;

  uint32_t Read(uint64_t offset, uint8_t* buffer, uint32_t count, uint32_t& bytesRead) override {
    ++reads;
    return inner_->Read(offset, buffer, count, bytesRead);
  }
  uint32_t Write(uint64_t offset, const uint8_t* data, uint32_t count) override {
    if (FailsNow()) return kDiskFull;
    uint32_t error = inner_->Write(offset, data, count);
    trace += 'w';
    Event();
    return error;
  }
  uint32_t Flush() override {
    if (FailsNow()) return kDiskFull;
    uint32_t error = flushes_ ? inner_->Flush() : 0;
    trace += 'f';
    Event();
    return error;
  }
  uint32_t Truncate(uint64_t length) override { return inner_->Truncate(length); }
  uint32_t Lock(uint64_t offset, uint64_t length) override { return inner_->Lock(offset, length); }
  uint32_t Unlock(uint64_t offset, uint64_t length) override {
    return inner_->Unlock(offset, length);
  }

 private:
  static bool FailsNow() {
    if (failAt == 0 || events + 1 != failAt) return false;
    ++events;
    return true;
  }
  void Event() {
    ++events;
    if (stopAfter > 0 && events >= stopAfter) _exit(0);
  }
  std::unique_ptr<Storage> inner_;
  bool flushes_;
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
      if (error == 0) storage = std::make_unique<CountingStorage>(std::move(inner), false);
      return error;
    });
  }
  ~FastStorage() {
    SetStorageOpener(nullptr);
    CountingStorage::stopAfter = 0;
    CountingStorage::failAt = 0;
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
