#include "runtime/files/kmf_driver.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "runtime/core/type_codes.h"
#include "runtime/files/driver_answer.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/kmf_table.h"
#include "runtime/files/kmf_transaction.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/os_errors.h"
#include "runtime/platform/os_file.h"

namespace rk {
namespace {

struct KmfFileState : FileState {
  std::unique_ptr<kmf::Table> table;
};

// The code list: the count less one, then the 66 codes.
constexpr uint8_t kKmfCodes[] = {65, 1,  4,  2,  5,  3,  6,  52, 14, 7,  8,  9,  10, 11, 12, 57, 13,
                                 29, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 65, 25, 26, 27, 28, 61,
                                 62, 31, 30, 54, 32, 33, 66, 67, 36, 37, 38, 63, 64, 40, 60, 41, 42,
                                 43, 44, 47, 45, 46, 48, 49, 56, 50, 58, 34, 75, 76, 77, 78, 79};
constexpr uint8_t kKmfTypes[] = {15,     kByte, kShort,   kUShort, kLong,    kULong,
                                 kSReal, kReal, kDecimal, kString, kCString, kPString,
                                 0x15,   0x1A,  kGroup,   0x17};

const DriverRegistration kRegistration{
    .codes = kKmfCodes,
    .types = kKmfTypes,
    .name = "KELDMARK",
    .library = "QWKMF16.DLL",
    .banner = "Keldmark (KMF) Driver 1.00",
    .entry = &KmfEntry,
};

kmf::OptionalText Text(const char* text, int32_t length) {
  if (!text) return std::nullopt;
  return std::string(text, length < 0 ? std::strlen(text) : static_cast<size_t>(length));
}

// The table definition that the declaration stands for.
kmf::TableDefinition DefinitionOf(const FileState& state) {
  const FileDescriptor& file = *state.file;
  kmf::TableDefinition definition;
  definition.recordLength = static_cast<uint16_t>(state.recordLength);
  for (const FieldInfo& info : state.fields) {
    kmf::FieldDefinition field;
    field.type = info.type;
    field.offset = static_cast<uint16_t>(info.offset);
    field.name = info.name;
    field.elements = static_cast<uint16_t>(info.count);
    field.totalLength = static_cast<uint16_t>(info.size * info.count);
    field.groupFlag = info.type == kGroup ? 1 : 0;
    field.index = static_cast<uint16_t>(info.number - 1);
    if (info.type == kDecimal) {
      field.decimalPlaces = info.places;
      field.decimalSize = static_cast<uint8_t>(info.size);
    }
    if (info.type == kString || info.type == kCString || info.type == kPString) {
      field.declaredLength = static_cast<uint16_t>(info.size);
      field.picture = info.picture;
    }
    definition.fields.push_back(field);
  }
  for (int m = 0; m < file.memoCount; ++m) {
    const MemoDescriptor& memo = *file.memos[m];
    if (memo.flags & kMemoBlob) definition.version = 2;
    definition.memos.push_back({Text(memo.externalName, memo.externalNameLength),
                                Text(memo.label, memo.labelLength),
                                static_cast<uint16_t>(memo.size), memo.flags});
  }
  for (int k = 0; k < file.keyCount; ++k) {
    const KeyDescriptor& key = *file.keys[k];
    kmf::KeyDefinition stored;
    stored.externalName = Text(key.externalName, key.externalNameLength);
    stored.label = Text(key.label, key.labelLength);
    stored.flags = static_cast<uint8_t>(key.attributes & 0x1F);
    if (key.attributes & kKeyDynamic) stored.flags |= kmf::kKeyDynamic;
    for (int c = 0; c < key.componentCount; ++c) {
      int32_t component = key.components[c];
      stored.components.push_back({static_cast<uint16_t>(std::abs(component) - 1),
                                   static_cast<uint16_t>(component < 0 ? 1 : 0)});
    }
    definition.keys.push_back(stored);
  }
  return definition;
}

kmf::Table& TableOf(KmfFileState& state) {
  if (!state.table) {
    kmf::TableDeclaration declaration;
    declaration.name = state.name;
    declaration.definition = DefinitionOf(state);
    declaration.oem = (state.attributes & kFileAttrOem) != 0;
    declaration.mayCreate = (state.attributes & kFileAttrCreate) != 0;
    const FileDescriptor& file = *state.file;
    if (file.fieldList)
      declaration.fieldList.assign(file.fieldList, file.fieldList + file.fieldListLength);
    state.table = std::make_unique<kmf::Table>(std::move(declaration));
  }
  return *state.table;
}

int KeyIndex(const FileCall& call) {
  for (int k = 0; k < call.file->keyCount; ++k) {
    if (call.file->keys[k] == call.key) return k;
  }
  return 0;
}

// The record buffer and the memo buffers travel between the declaration and
// the table around every operation.
void CopyIn(const FileCall& call, kmf::Table& table) {
  std::copy_n(call.file->record, table.record().size(), table.record().begin());
  for (int m = 0; m < call.file->memoCount; ++m) {
    const MemoDescriptor& memo = *call.file->memos[m];
    if (memo.buffer && !table.isBlob(m)) table.memos()[m].assign(memo.buffer, memo.size);
  }
}

void CopyOut(const FileCall& call, kmf::Table& table) {
  std::copy(table.record().begin(), table.record().end(), call.file->record);
  for (int m = 0; m < call.file->memoCount; ++m) {
    MemoDescriptor& memo = *call.file->memos[m];
    if (memo.buffer && !table.isBlob(m))
      std::copy_n(table.memos()[m].data(), memo.size, memo.buffer);
  }
}

int32_t Answer(int32_t result) {
  return result == kmf::kOsFailure ? SystemFailureCode() : result;
}

int32_t FileSystemOperation(FileCall& call) {
  std::string name = kmf::KmfFileName(call.state->name.substr(0, call.state->name.find("\\!")));
  uint32_t error = 0;
  switch (call.code) {
    case kOpRemove:
      error = platform::DeleteFileByName(name);
      break;
    case kOpRename:
      error = platform::MoveFileByName(name, kmf::KmfFileName(call.texts[0]));
      break;
    default:
      return file_error::kUnsupported;
  }
  if (error == platform::kErrorFileNotFound) return file_error::kFileNotFound;
  return error == 0 ? 0 : SystemFailureCode();
}

DriverAnswer HandleReadsAndSequences(FileCall& call, kmf::Table& table) {
  int key = call.key ? KeyIndex(call) : 0;
  switch (call.code) {
    case kOpGetByKey:
      return table.GetByKey(key);
    case kOpGetByPointer:
      return table.GetByNumber(static_cast<uint32_t>(call.numbers[0]));
    case kOpGetKeyPointer:
      return table.GetByKeyAndNumber(key, static_cast<uint32_t>(call.numbers[0]));
    case kOpNext:
      return table.Next();
    case kOpPrevious:
      return table.Previous();
    case kOpSkip:
      return table.Skip(call.numbers[0]);
    case kOpEof:
      call.result = table.AtEnd() ? 1 : 0;
      return 0;
    case kOpBof:
      call.result = table.AtBeginning() ? 1 : 0;
      return 0;
    case kOpSetFile:
      table.SetFile();
      return 0;
    case kOpSetFileKey:
      return table.SetFileByKey(key);
    case kOpSetFilePointer:
      table.SetFileFrom(static_cast<uint32_t>(call.numbers[0]));
      return 0;
    case kOpSetKey:
      table.SetKey(key);
      return 0;
    case kOpSetKeyKey:
      table.SetKeyFromValue(key);
      return 0;
    case kOpSetKeyPointer:
      table.SetKeyFromRecord(key, static_cast<uint32_t>(call.numbers[0]));
      return 0;
    case kOpSetKeyKeyPointer:
      table.SetKeyFromValueAndNumber(key, static_cast<uint32_t>(call.numbers[0]));
      return 0;
    case kOpResetFile:
      return table.ResetFile(call.texts[0]);
    case kOpResetKey:
      return table.ResetKey(key, call.texts[0]);
    case kOpRegetFile:
    case kOpRegetKey:
      return table.Reget(call.texts[0]);
    default:
      return kNotHandled;
  }
}

DriverAnswer HandleOpen(FileCall& call, kmf::Table& table) {
  switch (call.code) {
    case kOpOpen:
    case kOpShare:
      return table.Open(static_cast<uint32_t>(call.numbers[0]));
    case kOpCreate: {
      int32_t result = table.Create();
      call.state->postFlags |= kPostDiscardState;
      return result;
    }
    case kOpClose:
      return table.Close();
    default:
      return kNotHandled;
  }
}

DriverAnswer HandleOthers(FileCall& call, kmf::Table& table) {
  int key = call.key ? KeyIndex(call) : 0;
  switch (call.code) {
    case kOpAdd:
      return table.Add();
    case kOpAppend:
      return table.Append();
    case kOpPut:
      return table.Put();
    case kOpPutPointer:
      return table.PutAt(static_cast<uint32_t>(call.numbers[0]));
    case kOpDelete:
      return table.Delete();
    case kOpPointerFile:
    case kOpPointerKey:
      call.result = static_cast<int32_t>(table.Pointer());
      return 0;
    case kOpPositionFile:
      call.textResult = table.Position();
      return 0;
    case kOpPositionKey:
      call.textResult = table.KeyPosition(key);
      return 0;
    case kOpRecordsFile:
      call.result = static_cast<int32_t>(table.Records());
      return 0;
    case kOpRecordsKey:
      call.result = static_cast<int32_t>(table.KeyRecords(key));
      return 0;
    case kOpBytes:
      call.result = static_cast<int32_t>(table.Bytes());
      return 0;
    case kOpDuplicateFile:
      call.result = table.DuplicateAny();
      return 0;
    case kOpDuplicateKey:
      call.result = table.Duplicate(key);
      return 0;
    case kOpHold:
      table.Hold(-1);
      return 0;
    case kOpHoldSeconds:
      table.Hold(call.numbers[0]);
      return 0;
    case kOpWatch:
      table.Watch();
      return 0;
    case kOpNoMemo:
      table.NoMemo();
      return 0;
    case kOpRelease:
      table.Release();
      return 0;
    case kOpLock:
      return table.LockTable(-1);
    case kOpLockSeconds:
      return table.LockTable(call.numbers[0]);
    case kOpUnlock:
      return table.UnlockTable();
    case kOpStream:
      return table.Stream();
    case kOpFlush:
      return table.Flush();
    case kOpLogout:
      kmf::JoinTransaction(table.file());
      return 0;
    case kOpCommit:
      return kmf::CommitTransaction();
    case kOpRollback:
      kmf::RollbackTransaction();
      return 0;
    case kOpBuild:
      return table.Build();
    case kOpRebuildThroughCopy:
      return table.RebuildThroughCopy(call.texts[0]);
    case kOpTwoNames:
      return table.WriteCopy(call.texts[0], call.texts[1]);
    case kOpBuildKey:
      // The key of the running key sequence; without one, every key.
      return table.sequenceKey() >= 0 ? table.BuildKey(table.sequenceKey()) : table.Build();
    case kOpEmpty:
      return table.Empty();
    case kOpPack:
      return table.Pack();
    case kOpBlobRead:
      return table.BlobRead(call.numbers[0], call.numbers[1], call.numbers[2], call.textResult);
    case kOpBlobWrite:
      return table.BlobWrite(call.numbers[0], call.numbers[1], call.numbers[2], call.texts[0]);
    case kOpBlobSize:
      return table.BlobSize(call.numbers[0], call.result);
    case kOpSequenceKeyNumber:
      call.result = table.sequenceKey() + 1;
      return 0;
    default:
      return kNotHandled;
  }
}

int32_t Handle(FileCall& call) {
  auto& state = static_cast<KmfFileState&>(*call.state);
  switch (call.code) {
    case kOpName:
      call.textResult = state.name;
      return 0;
    case kOpSend:
      if (AnswerRegisterQuery(kRegistration, call)) return 0;
      call.textResult = TableOf(state).Send(call.texts[0]);
      if (!state.isOpen()) call.state->postFlags |= kPostDiscardState;
      return 0;
    case kOpRemove:
    case kOpRename:
      return FileSystemOperation(call);
    case kOpCopy:
      return Answer(TableOf(state).CopyTo(call.texts[0]));
    default:
      break;
  }
  kmf::Table& table = TableOf(state);
  CopyIn(call, table);
  DriverAnswer answer = HandleOpen(call, table);
  if (!answer) answer = HandleReadsAndSequences(call, table);
  if (!answer) answer = HandleOthers(call, table);
  CopyOut(call, table);
  return Answer(answer.value_or(file_error::kUnsupported));
}

const FileDriver kDriver{
    .registration = &kRegistration,
    .maxRecordLength = 64000,
    .newState = [] { return std::unique_ptr<FileState>(new KmfFileState); },
    .handle = &Handle,
};

}  // namespace

int32_t KmfEntry(int32_t code, FileObject* object, const intptr_t* args) {
  return DispatchFileOperation(kDriver, code, object, args);
}

const DriverRegistration& KmfRegistration() {
  return kRegistration;
}
const FileDriver& KmfDriver() {
  return kDriver;
}

}  // namespace rk
