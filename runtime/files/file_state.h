// The file state block: the working state of a declared file, made by its driver
// the first time an operation reaches the file. Every driver's block begins with
// the common part below and adds its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/files/field_list.h"
#include "runtime/files/file_descriptor.h"

namespace rk {

// State bits.
inline constexpr uint32_t kStateOpen = 0x01;
inline constexpr uint32_t kStateCurrentRecord = 0x02;  // after a successful read or ADD
inline constexpr uint32_t kStateLogout = 0x04;         // a LOGOUT transaction is active
inline constexpr uint32_t kStateStream = 0x08;
inline constexpr uint32_t kStateLocked = 0x10;     // LOCKed by this program
inline constexpr uint32_t kStateSequence = 0x20;   // established by SET or RESET
inline constexpr uint32_t kStateWrite = 0x40;      // opened with write access
inline constexpr uint32_t kStateExclusive = 0x80;  // deny-write, deny-all, or LOCKed

// Post flags of the running operation.
inline constexpr uint32_t kPostClearError = 0x01;
inline constexpr uint32_t kPostDiscardState = 0x02;
inline constexpr uint32_t kPostRememberSequential = 0x04;

struct FileState {
  virtual ~FileState() = default;

  std::string name;  // the file's name text
  FileDescriptor* file = nullptr;
  uint8_t* record = nullptr;
  uint32_t recordLength = 0;
  uint8_t attributes = 0;
  std::vector<FieldInfo> fields;  // the record's fields, numbered from 1
  uint32_t bits = 0;
  uint32_t postFlags = 0;
  int32_t lastSequential = 0;  // code of the last sequential operation

  bool isOpen() const { return (bits & kStateOpen) != 0; }
  bool has(uint32_t bit) const { return (bits & bit) != 0; }
};

}  // namespace rk
