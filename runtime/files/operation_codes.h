// The operation codes of the file-driver interface and the shape of each call:
// whether a key descriptor comes first, how many 32-bit numbers follow, how many
// texts the caller pushes on the value stack, and whether a text is pushed back.
#pragma once

#include <cstdint>

namespace rk {

enum OpCode : int32_t {
  kOpAdd = 1,
  kOpBof = 2,
  kOpBuild = 3,
  kOpAppend = 4,
  kOpRebuildThroughCopy = 5,  // text: name of the copy
  kOpBuildKey = 6,
  kOpClose = 7,
  kOpCommit = 8,
  kOpCopy = 9,
  kOpCreate = 10,
  kOpDelete = 11,
  kOpDuplicateFile = 12,
  kOpEmpty = 13,
  kOpEof = 14,
  kOpGetByKey = 15,       // GET(file, key)
  kOpGetByPointer = 16,   // GET(file, n)
  kOpGetKeyPointer = 17,  // GET(key, n)
  kOpHold = 18,
  kOpHoldSeconds = 19,
  kOpLock = 20,
  kOpLockSeconds = 21,
  kOpLogout = 22,
  kOpName = 23,
  kOpNext = 24,
  kOpOpen = 25,
  kOpPack = 26,
  kOpPointerFile = 27,
  kOpPointerKey = 28,
  kOpFlush = 29,
  kOpPut = 30,
  kOpPrevious = 31,
  kOpRecordsFile = 32,
  kOpRecordsKey = 33,
  kOpTwoNames = 34,  // file operation with the old and the new name
  kOpRelease = 36,
  kOpRemove = 37,
  kOpRename = 38,
  kOpRollback = 40,
  kOpSetFile = 41,           // SET(file)
  kOpSetFileKey = 42,        // SET(file, key)
  kOpSetFilePointer = 43,    // SET(file, n)
  kOpSetKey = 44,            // SET(key)
  kOpSetKeyKey = 45,         // SET(key, key)
  kOpSetKeyPointer = 46,     // SET(key, n)
  kOpSetKeyKeyPointer = 47,  // SET(key, key, n)
  kOpShare = 48,
  kOpSkip = 49,
  kOpUnlock = 50,
  kOpAddLength = 51,  // ADD(file, n length)
  kOpBytes = 52,
  kOpGetPointerLength = 53,  // GET(file, n pointer, n length)
  kOpPutPointer = 54,        // PUT(file, n pointer)
  kOpPutPointerLength = 55,  // PUT(file, n pointer, n length)
  kOpStream = 56,
  kOpDuplicateKey = 57,
  kOpWatch = 58,
  kOpAppendLength = 59,  // APPEND(file, n length)
  kOpSend = 60,
  kOpPositionFile = 61,
  kOpPositionKey = 62,
  kOpResetFile = 63,
  kOpResetKey = 64,
  kOpNoMemo = 65,
  kOpRegetFile = 66,
  kOpRegetKey = 67,
  kOpSetProperty = 71,
  kOpGetProperty = 72,
  kOpSequenceKeyNumber = 73,
  kOpOwnViewEngine = 74,
  kOpBlobRead = 75,
  kOpBlobWrite = 76,
  kOpBlobSize = 77,
  kOpBlobSetProperty = 78,
  kOpBlobGetProperty = 79,
};

// Codes from here up are outside the interface.
inline constexpr int32_t kOpCodeLimit = 316;

struct OperationShape {
  bool takesKey = false;    // a key descriptor is the first argument
  uint8_t numbers = 0;      // 32-bit numbers after the key
  uint8_t texts = 0;        // texts popped from the value stack
  bool textResult = false;  // a text is pushed as the result
};

// The shape of a code; an all-empty shape for codes that take nothing.
OperationShape ShapeOf(int32_t code);

}  // namespace rk
