#include "runtime/files/file_statements.h"

#include "runtime/core/value_stack.h"

#include "runtime/files/file_dispatcher.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/view.h"

namespace rk {
namespace {

int32_t Call(int32_t code, FileObject& object) {
  return CallFileOperation(code, object);
}

int32_t Call(int32_t code, FileObject& object, int32_t n) {
  const intptr_t args[] = {n};
  return CallFileOperation(code, object, args);
}

int32_t Call(int32_t code, FileObject& object, int32_t n, int32_t m) {
  const intptr_t args[] = {n, m};
  return CallFileOperation(code, object, args);
}

int32_t CallKey(int32_t code, KeyDescriptor& key) {
  const intptr_t args[] = {reinterpret_cast<intptr_t>(&key)};
  return CallFileOperation(code, *key.file, args);
}

int32_t CallKey(int32_t code, KeyDescriptor& key, int32_t n) {
  const intptr_t args[] = {reinterpret_cast<intptr_t>(&key), n};
  return CallFileOperation(code, *key.file, args);
}

// A key operation addressed to a file other than the key's own.
int32_t CallKey(int32_t code, FileObject& object, KeyDescriptor& key) {
  const intptr_t args[] = {reinterpret_cast<intptr_t>(&key)};
  return CallFileOperation(code, object, args);
}

void PushCallText(std::string_view text) {
  Values().PushCopy(text);
}
std::string TextResult() {
  return Values().PopString();
}

}  // namespace

void ADD(FileDescriptor& file) {
  Call(kOpAdd, file);
}
void ADD(FileDescriptor& file, int32_t length) {
  Call(kOpAddLength, file, length);
}
void APPEND(FileDescriptor& file) {
  Call(kOpAppend, file);
}
void APPEND(FileDescriptor& file, int32_t length) {
  Call(kOpAppendLength, file, length);
}
bool BOF(FileDescriptor& file) {
  return Call(kOpBof, file) != 0;
}
bool EOF_(FileDescriptor& file) {
  return Call(kOpEof, file) != 0;
}
void BUILD(FileDescriptor& file) {
  Call(kOpBuild, file);
}
int32_t BYTES(FileDescriptor& file) {
  return Call(kOpBytes, file);
}
void CLOSE(FileObject& object) {
  Call(kOpClose, object);
}

void COPY(FileDescriptor& file, std::string_view newName) {
  PushCallText(newName);
  Call(kOpCopy, file);
}

void CREATE(FileDescriptor& file) {
  Call(kOpCreate, file);
}
void DELETE(FileObject& object) {
  Call(kOpDelete, object);
}
bool DUPLICATE(FileDescriptor& file) {
  return Call(kOpDuplicateFile, file) != 0;
}
bool DUPLICATE(KeyDescriptor& key) {
  return CallKey(kOpDuplicateKey, key) != 0;
}
void EMPTY(FileDescriptor& file) {
  Call(kOpEmpty, file);
}
void FLUSH(FileDescriptor& file) {
  Call(kOpFlush, file);
}
void GET(FileDescriptor& file, KeyDescriptor& key) {
  CallKey(kOpGetByKey, file, key);
}
void GET(FileDescriptor& file, int32_t pointer) {
  Call(kOpGetByPointer, file, pointer);
}

void GET(FileDescriptor& file, int32_t pointer, int32_t length) {
  Call(kOpGetPointerLength, file, pointer, length);
}

void GET(KeyDescriptor& key, int32_t pointer) {
  CallKey(kOpGetKeyPointer, key, pointer);
}
void HOLD(FileObject& object) {
  Call(kOpHold, object);
}
void HOLD(FileObject& object, int32_t seconds) {
  Call(kOpHoldSeconds, object, seconds);
}
void LOCK(FileDescriptor& file) {
  Call(kOpLock, file);
}
void LOCK(FileDescriptor& file, int32_t seconds) {
  Call(kOpLockSeconds, file, seconds);
}

std::string NAME(FileDescriptor& file) {
  Call(kOpName, file);
  return TextResult();
}

void NEXT(FileObject& object) {
  Call(kOpNext, object);
}
void NOMEMO(FileDescriptor& file) {
  Call(kOpNoMemo, file);
}
void OPEN(FileObject& object, int32_t accessMode) {
  Call(kOpOpen, object, accessMode);
}
void PACK(FileDescriptor& file) {
  Call(kOpPack, file);
}
int32_t POINTER(FileDescriptor& file) {
  return Call(kOpPointerFile, file);
}
int32_t POINTER(KeyDescriptor& key) {
  return CallKey(kOpPointerKey, key);
}

std::string POSITION(FileObject& object) {
  Call(kOpPositionFile, object);
  return TextResult();
}

std::string POSITION(KeyDescriptor& key) {
  CallKey(kOpPositionKey, key);
  return TextResult();
}

void PREVIOUS(FileObject& object) {
  Call(kOpPrevious, object);
}
void PUT(FileObject& object) {
  Call(kOpPut, object);
}
void PUT(FileDescriptor& file, int32_t pointer) {
  Call(kOpPutPointer, file, pointer);
}

void PUT(FileDescriptor& file, int32_t pointer, int32_t length) {
  Call(kOpPutPointerLength, file, pointer, length);
}

int32_t RECORDS(FileDescriptor& file) {
  return Call(kOpRecordsFile, file);
}
int32_t RECORDS(KeyDescriptor& key) {
  return CallKey(kOpRecordsKey, key);
}

void REGET(FileObject& object, std::string_view position) {
  PushCallText(position);
  Call(kOpRegetFile, object);
}

void REGET(KeyDescriptor& key, std::string_view position) {
  PushCallText(position);
  CallKey(kOpRegetKey, key);
}

void RELEASE(FileObject& object) {
  Call(kOpRelease, object);
}
void REMOVE(FileDescriptor& file) {
  Call(kOpRemove, file);
}

void RENAME(FileDescriptor& file, std::string_view newName) {
  PushCallText(newName);
  Call(kOpRename, file);
}

void RESET(FileObject& object, std::string_view position) {
  PushCallText(position);
  Call(kOpResetFile, object);
}

void RESET(KeyDescriptor& key, std::string_view position) {
  PushCallText(position);
  CallKey(kOpResetKey, key);
}

std::string SEND(FileDescriptor& file, std::string_view text) {
  PushCallText(text);
  Call(kOpSend, file);
  return TextResult();
}

void SET(FileDescriptor& file) {
  Call(kOpSetFile, file);
}
void SET(FileDescriptor& file, KeyDescriptor& key) {
  CallKey(kOpSetFileKey, file, key);
}
void SET(FileDescriptor& file, int32_t pointer) {
  Call(kOpSetFilePointer, file, pointer);
}
void SET(KeyDescriptor& key) {
  CallKey(kOpSetKey, key);
}

// SET(key, key): the second key names the value in the record buffer; it is the
// ordering key itself in the application's use.
void SET(KeyDescriptor& key, KeyDescriptor& /*startKey*/) {
  CallKey(kOpSetKeyKey, key);
}
void SET(KeyDescriptor& key, int32_t pointer) {
  CallKey(kOpSetKeyPointer, key, pointer);
}

void SET(KeyDescriptor& key, KeyDescriptor& /*startKey*/, int32_t pointer) {
  CallKey(kOpSetKeyKeyPointer, key, pointer);
}

void SET(View& view) {
  Call(kOpSetFile, view);
}

void SHARE(FileDescriptor& file, int32_t accessMode) {
  Call(kOpShare, file, accessMode);
}
void SKIP(FileObject& object, int32_t count) {
  Call(kOpSkip, object, count);
}
void STREAM(FileDescriptor& file) {
  Call(kOpStream, file);
}
void UNLOCK(FileDescriptor& file) {
  Call(kOpUnlock, file);
}
void WATCH(FileObject& object) {
  Call(kOpWatch, object);
}

void SetProperty(FileObject& object, int32_t property, std::string_view text) {
  PushCallText(text);
  Call(kOpSetProperty, object, property);
}

// The read takes a text argument like every property code; it is not used.
std::string GetProperty(FileObject& object, int32_t property) {
  PushCallText({});
  Call(kOpGetProperty, object, property);
  return TextResult();
}
void LOGOUT(FileDescriptor& file) {
  Call(kOpLogout, file);
}
void COMMIT(FileDescriptor& file) {
  Call(kOpCommit, file);
}
void ROLLBACK(FileDescriptor& file) {
  Call(kOpRollback, file);
}

}  // namespace rk
