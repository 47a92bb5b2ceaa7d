// The file statements of the application's language, one line each: every one
// calls the object's entry function with its operation code, so that the
// application's code reads ADD(file), SET(key, key), NEXT(view) and so on. The
// outcome is in the error state (ERRORCODE). Operations that a view also answers
// take any FileObject; the rest take the file or the key.
//
// Texts go through the value stack as the calling protocol wants: these functions
// push their text arguments and pop their text results for the caller.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/files/file_descriptor.h"

namespace rk {

class View;

// Access modes of OPEN and SHARE.
inline constexpr int32_t kAccessReadOnly = 0x00;
inline constexpr int32_t kAccessReadWrite = 0x02;
inline constexpr int32_t kDenyAll = 0x10;
inline constexpr int32_t kDenyWrite = 0x20;
inline constexpr int32_t kDenyNone = 0x40;

void ADD(FileDescriptor& file);
void ADD(FileDescriptor& file, int32_t length);
void APPEND(FileDescriptor& file);
void APPEND(FileDescriptor& file, int32_t length);
bool BOF(FileDescriptor& file);
// EOF is the C library's macro; the statement is spelled with a trailing underscore.
bool EOF_(FileDescriptor& file);
void BUILD(FileDescriptor& file);
int32_t BYTES(FileDescriptor& file);
void CLOSE(FileObject& object);
void COPY(FileDescriptor& file, std::string_view newName);
void CREATE(FileDescriptor& file);
void DELETE(FileObject& object);
bool DUPLICATE(FileDescriptor& file);
bool DUPLICATE(KeyDescriptor& key);
void EMPTY(FileDescriptor& file);
void FLUSH(FileDescriptor& file);
void GET(FileDescriptor& file, KeyDescriptor& key);
void GET(FileDescriptor& file, int32_t pointer);
void GET(FileDescriptor& file, int32_t pointer, int32_t length);
void GET(KeyDescriptor& key, int32_t pointer);
void HOLD(FileObject& object);
void HOLD(FileObject& object, int32_t seconds);
void LOCK(FileDescriptor& file);
void LOCK(FileDescriptor& file, int32_t seconds);
std::string NAME(FileDescriptor& file);
void NEXT(FileObject& object);
void NOMEMO(FileDescriptor& file);
void OPEN(FileObject& object, int32_t accessMode = kAccessReadWrite | kDenyNone);
void PACK(FileDescriptor& file);
int32_t POINTER(FileDescriptor& file);
int32_t POINTER(KeyDescriptor& key);
std::string POSITION(FileObject& object);
std::string POSITION(KeyDescriptor& key);
void PREVIOUS(FileObject& object);
void PUT(FileObject& object);
void PUT(FileDescriptor& file, int32_t pointer);
void PUT(FileDescriptor& file, int32_t pointer, int32_t length);
int32_t RECORDS(FileDescriptor& file);
int32_t RECORDS(KeyDescriptor& key);
void REGET(FileObject& object, std::string_view position);
void REGET(KeyDescriptor& key, std::string_view position);
void RELEASE(FileObject& object);
void REMOVE(FileDescriptor& file);
void RENAME(FileDescriptor& file, std::string_view newName);
void RESET(FileObject& object, std::string_view position);
void RESET(KeyDescriptor& key, std::string_view position);
std::string SEND(FileDescriptor& file, std::string_view text);
void SET(FileDescriptor& file);
void SET(FileDescriptor& file, KeyDescriptor& key);
void SET(FileDescriptor& file, int32_t pointer);
void SET(KeyDescriptor& key);
void SET(KeyDescriptor& key, KeyDescriptor& startKey);
void SET(KeyDescriptor& key, int32_t pointer);
void SET(KeyDescriptor& key, KeyDescriptor& startKey, int32_t pointer);
// A new walk of the view from the start of its primary file's ordering key.
void SET(View& view);
void SHARE(FileDescriptor& file, int32_t accessMode = kAccessReadWrite | kDenyNone);
void SKIP(FileObject& object, int32_t count);
void STREAM(FileDescriptor& file);
void UNLOCK(FileDescriptor& file);
void WATCH(FileObject& object);

// Properties of an object given as texts (a view's filter, kPropFilter).
void SetProperty(FileObject& object, int32_t property, std::string_view text);
std::string GetProperty(FileObject& object, int32_t property);

// The per-file transaction steps; the application's LOGOUT, COMMIT and ROLLBACK
// statements over a list of files are in transactions.h.
void LOGOUT(FileDescriptor& file);
void COMMIT(FileDescriptor& file);
void ROLLBACK(FileDescriptor& file);

}  // namespace rk
