// The tape file as the application reaches it: a declared KMF file with the
// three keys of the home-tape file (the serial widened to LONG), driven only
// through the file statements and the transaction statements.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "bench/kmf/tape_records.h"
#include "runtime/files/declared_file.h"

namespace rk::bench {

class KmfTapeStore {
 public:
  // Creates the file `name` (the driver adds ".KMF") and opens it.
  explicit KmfTapeStore(const std::string& name);
  ~KmfTapeStore();

  void LoadInOneTransaction(std::span<const Tape> tapes);
  void LoadStreamed(std::span<const Tape> tapes);
  void InsertEachDurably(std::span<const Tape> tapes);
  // Reads the whole file in the order of key 1..3; returns the records read and
  // adds their serials to serialSum.
  int64_t ScanInKeyOrder(int key, int64_t& serialSum);
  // GET by the unique key for each serial; returns how many were found.
  int64_t GetEach(std::span<const int32_t> serials);
  void RetitleInOneTransaction(std::span<const std::pair<int32_t, std::string>> changes);

  void Close();
  void Open();
  std::string path() const { return name_ + ".KMF"; }

 private:
  void Fill(const Tape& tape);
  void SetSerial(int32_t serial);
  void SetText(uint32_t offset, uint32_t length, const std::string& text);

  std::string name_;
  DeclaredFile file_;
  bool open_ = false;
};

// Counts the flushes (fsync calls) of every KMF file opened from now on,
// through the driver's storage seam.
void CountKmfFlushes();
long KmfFlushesSoFar();

}  // namespace rk::bench
