// The error codes that file operations answer, each with the text the string
// table gives it. Codes below 100 belong to the file layer; 0 is success and -1
// the silent failure (file_driver.h); 81, the fallback text, is the error
// state's own (kUnknownErrorPosted); 301 and up are operating-system errors
// (SystemFailureCode).
#pragma once

#include <cstdint>

namespace rk::file_error {

inline constexpr int32_t kFileNotFound = 2;        // "File Not Found"
inline constexpr int32_t kPathNotFound = 3;        // "Path Not Found"
inline constexpr int32_t kTooManyOpenFiles = 4;    // "Too Many Open Files"
inline constexpr int32_t kAccessDenied = 5;        // "Access Denied"
inline constexpr int32_t kMemoryCorrupted = 7;     // "Memory Corrupted"
inline constexpr int32_t kInsufficientMemory = 8;  // "Insufficient Memory"
inline constexpr int32_t kEntryNotFound = 30;      // "Entry Not Found"
inline constexpr int32_t kFileAlreadyLocked = 32;  // "File Is Already Locked"
// "Record Not Available"; also the normal end of a sequential read.
inline constexpr int32_t kRecordNotAvailable = 33;
inline constexpr int32_t kRecordNotFound = 35;            // "Record Not Found"
inline constexpr int32_t kInvalidDataFile = 36;           // "Invalid Data File"
inline constexpr int32_t kFileNotOpen = 37;               // "File Not Open"
inline constexpr int32_t kInvalidKeyFile = 38;            // "Invalid Key File"
inline constexpr int32_t kDuplicateKey = 40;              // "Creates Duplicate Key"
inline constexpr int32_t kRecordAlreadyHeld = 43;         // "Record Is Already Held"
inline constexpr int32_t kInvalidFilename = 45;           // "Invalid Filename"
inline constexpr int32_t kKeyFileMustBeRebuilt = 46;      // "Key File Must Be Rebuilt"
inline constexpr int32_t kInvalidRecordDeclaration = 47;  // "Invalid Record Declaration"
inline constexpr int32_t kUnableToLogTransaction = 48;    // "Unable To Log Transaction"
inline constexpr int32_t kFileAlreadyOpen = 52;           // "File Already Open"
inline constexpr int32_t kInvalidRuntimeFile = 53;        // the runtime's own "Invalid ... File"
inline constexpr int32_t kNoCreateAttribute = 54;         // "No Create Attribute"
inline constexpr int32_t kFileMustBeShared = 55;          // "File Must Be Shared"
inline constexpr int32_t kLogoutAlreadyActive = 56;       // "LOGOUT Already Active"
inline constexpr int32_t kInvalidMemoFile = 57;           // "Invalid Memo File"
inline constexpr int32_t kExclusiveAccessRequired = 63;   // "Exclusive Access Required"
inline constexpr int32_t kSharingViolation = 64;          // "Sharing Violation"
inline constexpr int32_t kUnableToRollback = 65;          // "Unable To ROLLBACK Transaction"
inline constexpr int32_t kMemoFileMissing = 73;           // "Memo File Missing"
inline constexpr int32_t kInvalidDescriptor = 75;         // "Invalid Field Type Descriptor"
inline constexpr int32_t kInvalidIndexString = 76;        // "Invalid Index String"
inline constexpr int32_t kUnableToAccessIndex = 77;       // "Unable To Access Index"
inline constexpr int32_t kInvalidParameterCount = 78;     // "Invalid Number Of Parameters"
inline constexpr int32_t kUnsupportedDataType = 79;       // "Unsupported Data Type In File"
inline constexpr int32_t kUnsupported = 80;               // "Unsupported File Driver Function"
inline constexpr int32_t kInvalidKeyLength = 88;          // "Invalid Key Length"
inline constexpr int32_t kChangedByAnotherStation = 89;   // "Record Changed By Another Station"

}  // namespace rk::file_error
