#include "runtime/files/ascii_driver.h"

#include <memory>

#include "runtime/core/clipped_text.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/ascii_file_lock.h"
#include "runtime/files/ascii_line_reader.h"
#include "runtime/files/ascii_line_writer.h"
#include "runtime/files/ascii_options.h"
#include "runtime/files/ascii_state.h"
#include "runtime/files/driver_answer.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/file_copy.h"
#include "runtime/platform/os_errors.h"

namespace rk {
namespace {

// The code list: the count less one, then the 32 codes.
constexpr uint8_t kAsciiCodes[] = {31, 1,  51, 4,  59, 52, 14, 7,  9,  10, 13,
                                   29, 53, 16, 20, 21, 23, 24, 25, 27, 61, 30,
                                   54, 55, 66, 37, 38, 63, 60, 41, 43, 48, 50};
constexpr uint8_t kAsciiTypes[] = {2, kString, kGroup};

const DriverRegistration kRegistration{
    .codes = kAsciiCodes,
    .types = kAsciiTypes,
    .name = "ASCII",
    .library = "QWASC16.DLL",
    .banner = "Ascii File Driver 1.0",
    .entry = &AsciiEntry,
};

// A position is the 4-byte record pointer of a line, least significant byte first.
std::string PositionText(uint32_t pointer) {
  std::string text(4, '\0');
  for (int i = 0; i < 4; ++i) text[i] = static_cast<char>(pointer >> (8 * i));
  return text;
}

bool PointerOfPosition(const std::string& text, uint32_t& pointer) {
  if (text.size() < 4) return false;
  pointer = 0;
  for (int i = 0; i < 4; ++i) pointer |= uint32_t{static_cast<uint8_t>(text[i])} << (8 * i);
  return true;
}

uint32_t LengthArgument(int32_t length) {
  return length < 0 ? 0 : static_cast<uint32_t>(length);
}

// --- Opening and closing ----------------------------------------------------

void SetOpenDefaults(AsciiFileState& state, int32_t mode) {
  const bool exclusive = (mode & (platform::kModeDenyAll | platform::kModeDenyWrite)) != 0;
  state.readOnly = (mode & 0x03) == 0;
  state.shared = !exclusive;
  state.options = AsciiOptions{};
  state.options.quickScan = exclusive;
  state.options.bufferSize =
      AsciiBufferSize((exclusive ? kAsciiExclusiveBuffer : kAsciiDefaultBuffer) / kAsciiBufferBlock,
                      state.recordLength);
  state.lineStart = state.lineLength = state.nextPosition = 0;
  state.lockDepth = 0;
}

int32_t Open(AsciiFileState& state, int32_t mode) {
  if (state.name.empty()) return file_error::kInvalidFilename;
  uint32_t error = platform::OpenExisting(state.name, static_cast<uint32_t>(mode), state.handle);
  if (error == platform::kErrorFileNotFound) return file_error::kFileNotFound;
  if (error != 0) return SystemFailureCode();
  SetOpenDefaults(state, mode);
  const FileDescriptor& file = *state.file;
  if (file.driverOptions && file.driverOptionsLength > 0) {
    ApplyAsciiOptionList(state.options, {file.driverOptions, size_t(file.driverOptionsLength)},
                         state.recordLength);
  }
  state.buffer.Resize(state.options.bufferSize);
  if (int32_t failure = RefreshAsciiFileSize(state); failure != 0) {
    platform::CloseFile(state.handle);
    state.handle = platform::kNoHandle;
    return failure;
  }
  return 0;
}

// Writes are immediate, so closing only lets the handle go (and any lock with it).
int32_t Close(AsciiFileState& state) {
  platform::CloseFile(state.handle);
  state.handle = platform::kNoHandle;
  state.buffer.Invalidate();
  return 0;
}

int32_t Create(FileCall& call) {
  if (!(call.state->attributes & kFileAttrCreate)) return file_error::kNoCreateAttribute;
  if (call.state->name.empty()) return file_error::kInvalidFilename;
  platform::FileHandle handle = platform::kNoHandle;
  if (platform::CreateAlways(call.state->name, handle) != 0) return file_error::kAccessDenied;
  platform::CloseFile(handle);
  return 0;
}

// COPY, RENAME and REMOVE work on the closed file by its name.
int32_t FileByName(FileCall& call) {
  const std::string& name = call.state->name;
  const std::string newName(ClipRight(call.texts[0]));
  if (name.empty() || (call.code != kOpRemove && newName.empty()))
    return file_error::kInvalidFilename;
  uint32_t error = 0;
  switch (call.code) {
    case kOpCopy:
      error = platform::CopyFileByName(name, newName);
      break;
    case kOpRename:
      error = platform::MoveFileByName(name, newName);
      break;
    default:  // kOpRemove
      error = platform::DeleteFileByName(name);
      if (error != 0 && error != platform::kErrorFileNotFound) return file_error::kAccessDenied;
      break;
  }
  if (error == platform::kErrorFileNotFound) return file_error::kFileNotFound;
  return error == 0 ? 0 : SystemFailureCode();
}

// --- Reading ----------------------------------------------------------------

int32_t ReadAtPointer(AsciiFileState& state, uint32_t pointer, uint32_t length) {
  if (pointer == 0) return 0;
  if (int32_t error = RefreshSizeForAccess(state); error != 0) return error;
  return ReadAsciiLine(state, uint64_t{pointer} - 1, length);
}

int32_t Next(AsciiFileState& state) {
  if (int32_t error = RefreshSizeForAccess(state); error != 0) return error;
  return ReadAsciiLine(state, state.nextPosition, state.recordLength);
}

int32_t AtEnd(AsciiFileState& state, int32_t& result) {
  if (int32_t error = RefreshSizeForAccess(state); error != 0) return error;
  bool starts = false;
  if (int32_t error = AsciiLineStartsAt(state, state.nextPosition, starts); error != 0)
    return error;
  result = starts ? 0 : 1;
  return 0;
}

void SetNextPointer(AsciiFileState& state, int32_t pointer) {
  state.nextPosition = pointer > 0 ? uint64_t(uint32_t(pointer)) - 1 : 0;
}

int32_t Bytes(AsciiFileState& state, int32_t& result) {
  if (state.has(kStateCurrentRecord)) {
    result = static_cast<int32_t>(state.lineLength);
    return 0;
  }
  if (int32_t error = RefreshAsciiFileSize(state); error != 0) return error;
  result = static_cast<int32_t>(state.fileSize);
  return 0;
}

DriverAnswer HandleReads(FileCall& call, AsciiFileState& state) {
  switch (call.code) {
    case kOpNext:
      return Next(state);
    case kOpGetByPointer:
      return ReadAtPointer(state, uint32_t(call.numbers[0]), state.recordLength);
    case kOpGetPointerLength:
      return ReadAtPointer(state, uint32_t(call.numbers[0]), LengthArgument(call.numbers[1]));
    case kOpRegetFile: {
      uint32_t pointer = 0;
      if (!PointerOfPosition(call.texts[0], pointer)) return file_error::kRecordNotFound;
      return ReadAtPointer(state, pointer, state.recordLength);
    }
    case kOpEof:
      return AtEnd(state, call.result);
    case kOpSetFile:
      SetNextPointer(state, 0);
      return 0;
    case kOpSetFilePointer:
      SetNextPointer(state, call.numbers[0]);
      return 0;
    case kOpResetFile: {
      uint32_t pointer = 0;
      if (!PointerOfPosition(call.texts[0], pointer)) return file_error::kRecordNotFound;
      state.nextPosition = pointer > 0 ? uint64_t{pointer} - 1 : 0;
      return 0;
    }
    case kOpPointerFile:
      call.result = static_cast<int32_t>(state.lineStart + 1);
      return 0;
    case kOpPositionFile:
      call.textResult = PositionText(static_cast<uint32_t>(state.lineStart + 1));
      return 0;
    case kOpBytes:
      return Bytes(state, call.result);
    case kOpSequenceKeyNumber:
      call.result = 0;  // lines are in record order only
      return 0;
    default:
      return kNotHandled;
  }
}

// --- Writing ----------------------------------------------------------------

int32_t Write(AsciiFileState& state, AsciiWritePlace place, uint32_t length) {
  int32_t result = WriteAsciiLine(state, place, length);
  if (result == 0) state.bits |= kStateCurrentRecord;
  return result;
}

// No line is left, so none stays current.
int32_t Empty(AsciiFileState& state) {
  if (platform::TruncateFile(state.handle, 0) != 0) return SystemFailureCode();
  state.fileSize = 0;
  state.buffer.Invalidate();
  state.lineStart = state.lineLength = state.nextPosition = 0;
  state.bits &= ~kStateCurrentRecord;
  return 0;
}

AsciiWritePlace AtPointer(int32_t pointer) {
  // Pointer 0 names no line; it is sent past every end so that the write is refused.
  uint64_t offset = pointer > 0 ? uint64_t(uint32_t(pointer)) - 1 : UINT64_MAX;
  return {false, offset};
}

DriverAnswer HandleWrites(FileCall& call, AsciiFileState& state) {
  const uint32_t whole = state.recordLength;
  switch (call.code) {
    case kOpAdd:
    case kOpAppend:
      return Write(state, {}, whole);
    case kOpAddLength:
    case kOpAppendLength:
      return Write(state, {}, LengthArgument(call.numbers[0]));
    case kOpPut:
      return Write(state, {false, state.lineStart}, whole);
    case kOpPutPointer:
      return Write(state, AtPointer(call.numbers[0]), whole);
    case kOpPutPointerLength:
      return Write(state, AtPointer(call.numbers[0]), LengthArgument(call.numbers[1]));
    case kOpEmpty:
      return Empty(state);
    case kOpFlush:
      return platform::FlushFile(state.handle) == 0 ? 0 : SystemFailureCode();
    case kOpLock:
      return LockAsciiFile(state, -1);
    case kOpLockSeconds:
      return LockAsciiFile(state, call.numbers[0]);
    case kOpUnlock:
      UnlockAsciiFile(state);
      return 0;
    default:
      return kNotHandled;
  }
}

int32_t Send(FileCall& call, AsciiFileState& state) {
  if (AnswerRegisterQuery(kRegistration, call)) return 0;
  call.textResult = ApplyAsciiOption(state.options, call.texts[0], state.recordLength);
  if (state.isOpen()) {
    if (state.buffer.size() != state.options.bufferSize)
      state.buffer.Resize(state.options.bufferSize);
  } else {
    state.postFlags |= kPostDiscardState;
  }
  return 0;
}

int32_t Handle(FileCall& call) {
  auto& state = static_cast<AsciiFileState&>(*call.state);
  switch (call.code) {
    case kOpName:
      call.textResult = state.name;
      return 0;
    case kOpSend:
      return Send(call, state);
    case kOpOpen:
    case kOpShare:
      return Open(state, call.numbers[0]);
    case kOpClose:
      return Close(state);
    case kOpCreate:
      return Create(call);
    case kOpCopy:
    case kOpRename:
    case kOpRemove:
      return FileByName(call);
    default:
      break;
  }
  DriverAnswer answer = HandleReads(call, state);
  if (!answer) answer = HandleWrites(call, state);
  return answer.value_or(file_error::kUnsupported);
}

const FileDriver kDriver{
    .registration = &kRegistration,
    .maxRecordLength = 65535,
    .newState = [] { return std::unique_ptr<FileState>(new AsciiFileState); },
    .handle = &Handle,
};

}  // namespace

AsciiFileState::~AsciiFileState() {
  if (handle != platform::kNoHandle) platform::CloseFile(handle);
}

int32_t AsciiEntry(int32_t code, FileObject* object, const intptr_t* args) {
  return DispatchFileOperation(kDriver, code, object, args);
}

const DriverRegistration& AsciiRegistration() {
  return kRegistration;
}
const FileDriver& AsciiDriver() {
  return kDriver;
}

}  // namespace rk
