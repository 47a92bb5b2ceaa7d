// The objects that the application declares statically for every file: the file
// descriptor, its key descriptors and its memo descriptors. Every operation on a
// file, a key or a view reaches the storage layer through one of these objects;
// each object begins with the entry function of the code that serves it (a file
// driver, or the view engine for a view).
#pragma once

#include <cstdint>
#include <string>

namespace rk {

struct FileObject;
struct FileState;

// The entry of a driver or of the view engine: the operation code, the object and
// the further arguments (a key descriptor first for key operations, then 32-bit
// numbers). Texts travel on the value stack. Returns the number result.
using DriverEntry = int32_t (*)(int32_t code, FileObject* object, const intptr_t* args);

// Anything an operation can be addressed to: a file or a view.
struct FileObject {
  DriverEntry entry = nullptr;
};

// File attribute bits.
inline constexpr uint8_t kFileAttrCarried02 = 0x02;  // copied into the state block only
inline constexpr uint8_t kFileAttrCreate = 0x04;     // the file may be created
inline constexpr uint8_t kFileAttrCarried08 = 0x08;  // copied into the state block only
inline constexpr uint8_t kFileAttrPerThread = 0x10;  // one instance per runtime thread
inline constexpr uint8_t kFileAttrOem = 0x20;        // texts stored in the OEM character set

// Key attribute bits.
inline constexpr uint32_t kKeyDup = 0x01;     // duplicates allowed; otherwise unique
inline constexpr uint32_t kKeyOpt = 0x02;     // all-empty key fields get no entry
inline constexpr uint32_t kKeyNoCase = 0x04;  // texts compare without regard to case
inline constexpr uint32_t kKeyCarried08 = 0x08;
inline constexpr uint32_t kKeyPrimary = 0x10;
inline constexpr uint32_t kKeyDynamic = 0x4000;  // not rebuilt by BUILD(file)

// Memo flag bits.
inline constexpr uint8_t kMemoText = 0x01;
inline constexpr uint8_t kMemoBlob = 0x04;

// Limits of a declaration that the drivers accept.
inline constexpr int kMaxKeys = 240;
inline constexpr int kMaxMemos = 255;
inline constexpr uint32_t kMaxMemoSize = 64000;

struct FileDescriptor;

struct KeyDescriptor {
  const char* externalName = nullptr;
  int32_t externalNameLength = 0;
  const char* label = nullptr;  // "HTA:SERIAL_NO"
  int32_t labelLength = 0;
  void* driverHandle = nullptr;  // the driver's own key table entry, set on first use
  uint32_t attributes = 0;
  uint8_t componentCount = 0;
  // Field numbers from 1, most significant first; -n is field n descending.
  const int32_t* components = nullptr;
  FileDescriptor* file = nullptr;

  bool unique() const { return (attributes & kKeyDup) == 0; }
};

struct MemoDescriptor {
  const char* externalName = nullptr;
  int32_t externalNameLength = 0;
  const char* label = nullptr;  // "HTA:NOTES"
  int32_t labelLength = 0;
  char* buffer = nullptr;  // the memo's text, size bytes
  void* driverHandle = nullptr;
  uint8_t flags = 0;
  uint32_t size = 0;
};

// nameLength of a name that is a NUL-terminated text variable.
inline constexpr int32_t kNulTerminatedName = -1;

struct FileDescriptor : FileObject {
  const char* name = nullptr;  // fixed text or the application's text variable
  int32_t nameLength = 0;      // kNulTerminatedName: NUL-terminated variable
  const char* owner = nullptr;
  int32_t ownerLength = 0;
  const char* driverOptions = nullptr;  // each option introduced by "/"
  int32_t driverOptionsLength = 0;
  uint8_t attributes = 0;
  uint8_t keyCount = 0;
  uint8_t memoCount = 0;
  uint32_t recordLength = 0;
  // The record's type descriptor (a GROUP, see field_list.h) and its length in
  // bytes, so that no walk can read past it.
  const uint8_t* fieldList = nullptr;
  uint32_t fieldListLength = 0;
  KeyDescriptor* const* keys = nullptr;
  MemoDescriptor* const* memos = nullptr;
  uint8_t* record = nullptr;
  FileState* state = nullptr;  // null until first used
};

// The file's name as the driver is given it: a variable's trailing spaces removed.
std::string FileNameText(const FileDescriptor& file);
std::string KeyLabel(const KeyDescriptor& key);
std::string MemoLabel(const MemoDescriptor& memo);

}  // namespace rk
