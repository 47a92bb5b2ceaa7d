#include "bench/kmf/kmf_tape_store.h"

#include <algorithm>
#include <cstring>

#include "bench/kmf/bench_checks.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/kmf_storage.h"
#include "runtime/files/transactions.h"

namespace rk::bench {
namespace {

// The home-tape record with a LONG serial: every later field moves up by 2.
constexpr uint32_t kSerialAt = 0, kTitleAt = 4, kStartAt = 64, kEndAt = 68, kTypeAt = 72,
                   kMakerAt = 82, kFormatAt = 102, kSpeedAt = 114, kLengthAt = 117,
                   kRecordLength = 122;

constexpr FieldSpec kFields[] = {
    {"HTA:SERIAL", kSerialAt, kLong},       {"HTA:TITLE", kTitleAt, kString, 60},
    {"HTA:START_DATE", kStartAt, kLong},    {"HTA:END_DATE", kEndAt, kLong},
    {"HTA:TYPE", kTypeAt, kString, 10},     {"HTA:MANUFACTURER", kMakerAt, kString, 20},
    {"HTA:FORMAT", kFormatAt, kString, 12}, {"HTA:SPEED", kSpeedAt, kString, 3},
    {"HTA:LENGTH", kLengthAt, kString, 5},
};
constexpr uint32_t kDupKey = kKeyDup | kKeyOpt | kKeyNoCase;
constexpr uint32_t kUniqueKey = kKeyOpt | kKeyNoCase | kKeyPrimary;
constexpr KeySpec kKeys[] = {
    {"HTA:SERIAL_NO", kUniqueKey, {1}},
    {"HTA:DESCRIPTION", kDupKey, {2, 3}},
    {"HTA:DATE", kDupKey, {3, 4}},
};
constexpr MemoSpec kMemos[] = {{"HTA:NOTES", 1000}};
constexpr uint8_t kTapeFileAttributes = kFileAttrCreate | kFileAttrPerThread | kFileAttrCarried08;

FileSpec TapeSpec(const std::string& name) {
  return {"HTAPES", name.c_str(), kTapeFileAttributes, kRecordLength, kFields, kKeys, kMemos};
}

void RequireSuccess(const char* what) {
  if (ErrorCode() != 0)
    std::fprintf(stderr, "KMF error %d: %s\n", ErrorCode(), ErrorName().c_str());
  Require(ErrorCode() == 0, what);
}

long flushes = 0;

class FlushCountingStorage : public kmf::Storage {
 public:
  explicit FlushCountingStorage(std::unique_ptr<kmf::Storage> inner) : inner_(std::move(inner)) {}
  uint32_t Read(uint64_t offset, uint8_t* buffer, uint32_t count, uint32_t& bytesRead) override {
    return inner_->Read(offset, buffer, count, bytesRead);
  }
  uint32_t Write(uint64_t offset, const uint8_t* data, uint32_t count) override {
    return inner_->Write(offset, data, count);
  }
  uint32_t Flush() override {
    ++flushes;
    return inner_->Flush();
  }
  uint32_t Truncate(uint64_t length) override { return inner_->Truncate(length); }
  uint32_t Lock(uint64_t offset, uint64_t length) override { return inner_->Lock(offset, length); }
  uint32_t Unlock(uint64_t offset, uint64_t length) override {
    return inner_->Unlock(offset, length);
  }

 private:
  std::unique_ptr<kmf::Storage> inner_;
};

}  // namespace

void CountKmfFlushes() {
  kmf::SetStorageOpener(
      [](const std::string& path, uint32_t mode, std::unique_ptr<kmf::Storage>& storage) {
        std::unique_ptr<kmf::Storage> inner;
        uint32_t error = kmf::OpenOsStorage(path, mode, inner);
        if (error == 0) storage = std::make_unique<FlushCountingStorage>(std::move(inner));
        return error;
      });
}

long KmfFlushesSoFar() {
  return flushes;
}

KmfTapeStore::KmfTapeStore(const std::string& name)
    : name_(name), file_(TapeSpec(name_), &KmfEntry) {
  CREATE(file_.file());
  RequireSuccess("CREATE of the tape file");
  Open();
}

KmfTapeStore::~KmfTapeStore() {
  if (open_) Close();
}

// Read/write, deny write: the mode the application's views and updates open
// their files with.
void KmfTapeStore::Open() {
  OPEN(file_.file(), kAccessReadWrite | kDenyWrite);
  RequireSuccess("OPEN of the tape file");
  open_ = true;
}

void KmfTapeStore::Close() {
  CLOSE(file_.file());
  RequireSuccess("CLOSE of the tape file");
  open_ = false;
}

void KmfTapeStore::SetSerial(int32_t serial) {
  std::memcpy(file_.record() + kSerialAt, &serial, 4);
}

void KmfTapeStore::SetText(uint32_t offset, uint32_t length, const std::string& text) {
  uint8_t* field = file_.record() + offset;
  std::memset(field, ' ', length);
  std::memcpy(field, text.data(), std::min<size_t>(length, text.size()));
}

void KmfTapeStore::Fill(const Tape& tape) {
  SetSerial(tape.serial);
  SetText(kTitleAt, 60, tape.title);
  std::memcpy(file_.record() + kStartAt, &tape.startDate, 4);
  std::memcpy(file_.record() + kEndAt, &tape.endDate, 4);
  SetText(kTypeAt, 10, tape.type);
  SetText(kMakerAt, 20, tape.manufacturer);
  SetText(kFormatAt, 12, tape.format);
  SetText(kSpeedAt, 3, tape.speed);
  SetText(kLengthAt, 5, tape.length);
}

void KmfTapeStore::LoadInOneTransaction(std::span<const Tape> tapes) {
  LOGOUT(1, {&file_.file()});
  RequireSuccess("LOGOUT");
  for (const Tape& tape : tapes) {
    Fill(tape);
    ADD(file_.file());
    RequireSuccess("ADD inside the transaction");
  }
  COMMIT();
  RequireSuccess("COMMIT");
}

void KmfTapeStore::LoadStreamed(std::span<const Tape> tapes) {
  STREAM(file_.file());
  RequireSuccess("STREAM");
  for (const Tape& tape : tapes) {
    Fill(tape);
    ADD(file_.file());
    RequireSuccess("ADD in STREAM mode");
  }
  FLUSH(file_.file());
  RequireSuccess("FLUSH");
}

void KmfTapeStore::InsertEachDurably(std::span<const Tape> tapes) {
  for (const Tape& tape : tapes) {
    Fill(tape);
    ADD(file_.file());
    RequireSuccess("ADD");
  }
}

int64_t KmfTapeStore::ScanInKeyOrder(int key, int64_t& serialSum) {
  int64_t count = 0;
  SET(file_.key(key));
  for (NEXT(file_.file()); ErrorCode() == 0; NEXT(file_.file())) {
    int32_t serial;
    std::memcpy(&serial, file_.record() + kSerialAt, 4);
    serialSum += serial;
    ++count;
  }
  Require(ErrorCode() == 33, "NEXT ends with Record Not Available");
  return count;
}

int64_t KmfTapeStore::GetEach(std::span<const int32_t> serials) {
  int64_t found = 0;
  for (int32_t serial : serials) {
    SetSerial(serial);
    GET(file_.file(), file_.key(1));
    if (ErrorCode() == 0) {
      int32_t read;
      std::memcpy(&read, file_.record() + kSerialAt, 4);
      found += read == serial;
    }
  }
  return found;
}

void KmfTapeStore::RetitleInOneTransaction(
    std::span<const std::pair<int32_t, std::string>> changes) {
  LOGOUT(1, {&file_.file()});
  RequireSuccess("LOGOUT");
  for (const auto& [serial, title] : changes) {
    SetSerial(serial);
    GET(file_.file(), file_.key(1));
    RequireSuccess("GET before PUT");
    SetText(kTitleAt, 60, title);
    PUT(file_.file());
    RequireSuccess("PUT");
  }
  COMMIT();
  RequireSuccess("COMMIT");
}

}  // namespace rk::bench
