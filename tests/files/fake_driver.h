// A small in-memory driver for testing the layers above the drivers: records in a
// vector, record-order reads, and switches that make chosen operations fail.
#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/files/declared_file.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_driver.h"
#include "runtime/files/operation_codes.h"

namespace rk::testing {

struct FakeFileState : FileState {
  size_t position = 0;  // index of the next record NEXT reads
  size_t current = 0;   // index + 1 of the record in the buffer
};

// What the fake driver has seen and what it is told to answer.
struct FakeDriverWorld {
  std::map<std::string, std::vector<std::vector<uint8_t>>> files;  // by name
  std::map<int32_t, int32_t> forcedAnswers;  // code -> answer instead of the handler
  std::vector<std::string> calls;            // "NAME code" of every handler run
  std::string lastText;                      // the first text of the last call

  void Reset() { *this = FakeDriverWorld(); }
};

inline FakeDriverWorld& FakeWorld() {
  static FakeDriverWorld world;
  return world;
}

inline int32_t FakeHandle(FileCall& call);
inline int32_t FakeEntry(int32_t code, FileObject* object, const intptr_t* args);

// Declares every code except PREVIOUS (31) and the blob codes.
inline constexpr uint8_t kFakeCodes[] = {13,          kOpAdd,     kOpClose,        kOpCommit,
                                         kOpDelete,   kOpEof,     kOpGetByPointer, kOpLockSeconds,
                                         kOpLogout,   kOpNext,    kOpOpen,         kOpPut,
                                         kOpRollback, kOpSetFile, kOpUnlock};
inline constexpr uint8_t kFakeTypes[] = {2, 2, 18};

inline const DriverRegistration kFakeRegistration{
    .codes = kFakeCodes,
    .types = kFakeTypes,
    .name = "FAKE",
    .library = "fake",
    .banner = "Fake Driver",
    .entry = &FakeEntry,
};

inline const FileDriver kFakeDriver{
    .registration = &kFakeRegistration,
    .maxRecordLength = 64000,
    .newState = [] { return std::unique_ptr<FileState>(new FakeFileState); },
    .handle = &FakeHandle,
};

inline int32_t FakeEntry(int32_t code, FileObject* object, const intptr_t* args) {
  return DispatchFileOperation(kFakeDriver, code, object, args);
}

inline int32_t FakeHandle(FileCall& call) {
  FakeDriverWorld& world = FakeWorld();
  auto& state = static_cast<FakeFileState&>(*call.state);
  world.calls.push_back(state.name + " " + std::to_string(call.code));
  world.lastText = call.texts[0];
  if (auto forced = world.forcedAnswers.find(call.code); forced != world.forcedAnswers.end())
    return forced->second;
  auto& records = world.files[state.name];
  switch (call.code) {
    case kOpOpen:
      return world.files.count(state.name) && state.name != "MISSING" ? 0 : 2;
    case kOpClose:
    case kOpLogout:
    case kOpCommit:
    case kOpRollback:
    case kOpLockSeconds:
    case kOpUnlock:
      return 0;
    case kOpSetFile:
      state.position = 0;
      return 0;
    case kOpNext:
    case kOpEof:
      if (state.position >= records.size()) return call.code == kOpEof ? (call.result = 1, 0) : 33;
      if (call.code == kOpEof) return 0;
      std::memcpy(state.record, records[state.position].data(), state.recordLength);
      state.current = ++state.position;
      return 0;
    case kOpAdd:
      records.emplace_back(state.record, state.record + state.recordLength);
      state.current = records.size();
      return 0;
    case kOpPut:
      records[state.current - 1].assign(state.record, state.record + state.recordLength);
      return 0;
    case kOpDelete:
      records.erase(records.begin() + static_cast<ptrdiff_t>(state.current - 1));
      state.current = 0;
      return 0;
    case kOpName:
      call.textResult = state.name;
      if (!state.isOpen()) state.postFlags |= kPostDiscardState;
      return 0;
    case kOpSend:
      if (AnswerRegisterQuery(kFakeRegistration, call)) return 0;
      call.textResult = "SEND arg not recognised";
      return 0;
    default:
      return 80;
  }
}

// A file of one SHORT and one STRING(10), with a unique key on the SHORT.
inline constexpr FieldSpec kFakeFields[] = {
    {"FAK:NUMBER", 0, 2},
    {"FAK:TEXT", 2, 18, 10},
};
inline constexpr KeySpec kFakeKeys[] = {{"FAK:NUMBER_KEY", 0x10, {1}}};

inline FileSpec FakeFileSpec(const char* name, uint8_t attributes = 0x04) {
  return {.label = name,
          .storedName = name,
          .attributes = attributes,
          .recordLength = 12,
          .fields = kFakeFields,
          .keys = kFakeKeys,
          .memos = {}};
}

}  // namespace rk::testing
