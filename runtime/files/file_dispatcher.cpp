#include "runtime/files/file_dispatcher.h"

#include <array>
#include <memory>

#include "runtime/core/error_state.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/open_files_registry.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/precondition_table.h"
#include "runtime/files/runtime_threads.h"

namespace rk {
namespace {

FileObject* errorFile = nullptr;

// A caller that broke the protocol and pushed nothing gets an empty text.
std::string PopCallText() {
  return Values().Depth() > 0 ? Values().PopString() : std::string();
}

void TakeArguments(const OperationShape& shape, const intptr_t* args, FileCall& call) {
  int next = 0;
  if (shape.takesKey) call.key = args ? reinterpret_cast<KeyDescriptor*>(args[next++]) : nullptr;
  for (int i = 0; i < shape.numbers; ++i)
    call.numbers[i] = args ? static_cast<int32_t>(args[next++]) : 0;
  // The last text pushed is on top: code 34 pushes the old name, then the new one.
  for (int i = shape.texts - 1; i >= 0; --i) call.texts[i] = PopCallText();
}

// A key component must name a field of the record that is not an array.
bool KeysAreValid(const FileDescriptor& file, const std::vector<FieldInfo>& fields) {
  for (int k = 0; k < file.keyCount; ++k) {
    const KeyDescriptor* key = file.keys ? file.keys[k] : nullptr;
    if (!key || (key->componentCount > 0 && !key->components)) return false;
    for (int c = 0; c < key->componentCount; ++c) {
      int32_t number = key->components[c] < 0 ? -key->components[c] : key->components[c];
      if (number < 1 || number > static_cast<int32_t>(fields.size())) return false;
      if (fields[number - 1].count > 1) return false;
    }
  }
  return true;
}

bool MemosAreValid(const FileDescriptor& file) {
  for (int m = 0; m < file.memoCount; ++m) {
    const MemoDescriptor* memo = file.memos ? file.memos[m] : nullptr;
    if (!memo || memo->size > kMaxMemoSize || (memo->size > 0 && !memo->buffer)) return false;
  }
  return true;
}

// Makes the state block of a file used for the first time; 0 or the error.
int32_t MakeFileState(const FileDriver& driver, FileDescriptor& file) {
  if (file.recordLength > driver.maxRecordLength || !file.record)
    return file_error::kInvalidRecordDeclaration;
  std::vector<FieldInfo> fields;
  if (!file.fieldList || ParseFieldList({file.fieldList, file.fieldListLength}, fields) != 0)
    return file_error::kInvalidDescriptor;
  for (const FieldInfo& field : fields)
    if (field.end() > file.recordLength) return file_error::kInvalidDescriptor;
  if (!KeysAreValid(file, fields)) return file_error::kInvalidDescriptor;
  if (!MemosAreValid(file)) return file_error::kInvalidRecordDeclaration;

  std::unique_ptr<FileState> state = driver.newState();
  state->name = FileNameText(file);
  state->file = &file;
  state->record = file.record;
  state->recordLength = file.recordLength;
  state->attributes = file.attributes;
  state->fields = std::move(fields);
  file.state = state.release();
  return 0;
}

// Runs the precondition check and the handler; the answer of the operation.
int32_t RunOperation(const FileDriver& driver, const Precondition& row, FileCall& call) {
  if (call.code < 1 || call.code >= kOpCodeLimit) return file_error::kUnsupported;
  int32_t error = CheckPrecondition(row, call.state->bits);
  if (error != 0) return error;
  if (!driver.handle) return file_error::kUnsupported;
  return driver.handle(call);
}

// The access mode of OPEN and SHARE: the low two bits give write access, the
// deny-all and deny-write bits make the file exclusive.
uint32_t AccessBits(int32_t mode) {
  uint32_t bits = 0;
  if (mode & 0x03) bits |= kStateWrite;
  if (mode & 0x30) bits |= kStateExclusive;
  return bits;
}

void MoveStateBits(const Precondition& row, const FileCall& call, int32_t error, FileState& state) {
  if (error == 0) {
    state.bits = (state.bits | row.set) & ~uint32_t{row.clearOk};
    if (call.code == kOpOpen || call.code == kOpShare) state.bits |= AccessBits(call.numbers[0]);
    state.postFlags |= row.post;
  } else {
    state.bits &= ~uint32_t{row.clearFail};
    if (error != file_error::kFileAlreadyOpen) state.postFlags |= kPostDiscardState;
  }
}

void KeepRegistryInStep(const FileDriver& driver, FileCall& call, int32_t error) {
  if (error != 0) return;
  if (call.code == kOpOpen || call.code == kOpShare)
    RegisterOpenFile(*call.file, *driver.registration);
  else if (call.code == kOpClose)
    UnregisterOpenFile(*call.file);
}

// Calls per operation code, and the fault and the watches that tests set.
std::array<uint64_t, kOpCodeLimit>& CallCounts() {
  static std::array<uint64_t, kOpCodeLimit> counts{};
  return counts;
}

DriverFault& InjectedFault() {
  static auto* fault = new DriverFault;
  return *fault;
}

DriverCallWatch& CallWatch() {
  static auto* watch = new DriverCallWatch;
  return *watch;
}

DriverCallDone& CallDone() {
  static auto* done = new DriverCallDone;
  return *done;
}

int32_t Finish(const OperationShape& shape, FileCall& call, int32_t error) {
  if (CallDone()) CallDone()(call.code, *call.file, error);
  if (shape.textResult) Values().PushCopy(call.textResult);
  if (error != 0 && error != kSilentFailure)
    PostFileError(error, call.file, FileNameText(*call.file));
  if (error != 0 && (call.code == kOpBof || call.code == kOpEof)) return 1;
  return error == 0 ? call.result : 0;
}

}  // namespace

int32_t CallFileOperation(int32_t code, FileObject& object, const intptr_t* args) {
  CheckRuntimeEntry(code);
  if (!object.entry) {
    PostFileError(file_error::kUnsupported, &object, {});
    return 0;
  }
  return object.entry(code, &object, args);
}

void SetDriverFault(DriverFault fault) {
  InjectedFault() = std::move(fault);
}

void SetDriverCallWatch(DriverCallWatch watch) {
  CallWatch() = std::move(watch);
}

void SetDriverCallDone(DriverCallDone done) {
  CallDone() = std::move(done);
}

uint64_t DriverCalls(int32_t code) {
  return code >= 0 && code < kOpCodeLimit ? CallCounts()[static_cast<size_t>(code)] : 0;
}

int32_t DispatchFileOperation(const FileDriver& driver, int32_t code, FileObject* object,
                              const intptr_t* args) {
  if (code >= 0 && code < kOpCodeLimit) ++CallCounts()[static_cast<size_t>(code)];
  if (code == kOpOwnViewEngine) return 0;
  auto& file = *static_cast<FileDescriptor*>(object);
  if ((code == kOpOpen || code == kOpShare) && (file.attributes & kFileAttrPerThread))
    RegisterPerThreadFile(file);

  const OperationShape shape = ShapeOf(code);
  FileCall call;
  call.code = code;
  call.file = &file;
  TakeArguments(shape, args, call);
  if (CallWatch()) CallWatch()(code, file, call.texts[0]);

  if (InjectedFault()) {
    if (int32_t error = InjectedFault()(code, file); error != 0) return Finish(shape, call, error);
  }
  if (!file.state) {
    if (int32_t error = MakeFileState(driver, file); error != 0) return Finish(shape, call, error);
  }
  call.state = file.state;

  const Precondition row = PreconditionOf(code);
  call.state->postFlags = 0;
  int32_t error = RunOperation(driver, row, call);
  MoveStateBits(row, call, error, *call.state);
  KeepRegistryInStep(driver, call, error);

  const uint32_t post = call.state->postFlags;
  if (post & kPostClearError) ClearFileError();
  if (post & kPostRememberSequential) call.state->lastSequential = code;
  // A block is discarded only when the file is not open: an open file keeps its
  // state whatever an operation on it answers.
  if ((post & kPostDiscardState) && !call.state->isOpen()) DiscardFileState(file);
  return Finish(shape, call, error);
}

void PostFileError(int32_t code, FileObject* object, std::string_view name) {
  if (code == kSilentFailure) return;
  if (code == 0) code = SystemFailureCode();
  SetError(code, name);
  errorFile = object;
}

void ClearFileError() {
  ClearError();
  errorFile = nullptr;
}

FileObject* ErrorFile() {
  return errorFile;
}

void DiscardFileState(FileDescriptor& file) {
  delete file.state;
  file.state = nullptr;
}

}  // namespace rk
