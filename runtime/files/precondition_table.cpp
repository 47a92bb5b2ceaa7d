#include "runtime/files/precondition_table.h"

#include <array>

#include "runtime/files/error_codes.h"
#include "runtime/files/file_driver.h"
#include "runtime/files/file_state.h"
#include "runtime/files/operation_codes.h"

namespace rk {
namespace {

struct Row {
  int32_t code;
  Precondition precondition;
};

// post, required, forbidden, set, clear on success, clear on failure
constexpr Row kRows[] = {
    {kOpAdd, {1, 0x41, 0, 0x02, 0, 0}},
    {kOpBof, {0, 0x21, 0, 0, 0, 0}},
    {kOpBuild, {1, 0xC0, 0x04, 0, 0, 0}},
    {kOpAppend, {1, 0x41, 0, 0, 0, 0}},
    {kOpRebuildThroughCopy, {1, 0x01, 0x04, 0, 0, 0}},
    {kOpBuildKey, {1, 0xC0, 0x04, 0, 0, 0}},
    {kOpClose, {3, 0x01, 0x04, 0, 0x01, 0}},
    {kOpCommit, {1, 0x05, 0, 0, 0x04, 0}},
    {kOpCopy, {3, 0, 0x01, 0, 0, 0}},
    {kOpCreate, {3, 0, 0x01, 0, 0, 0}},
    {kOpDelete, {1, 0x43, 0, 0, 0x02, 0}},
    {kOpDuplicateFile, {1, 0x41, 0, 0, 0, 0}},
    {kOpEmpty, {1, 0xC1, 0x04, 0, 0, 0}},
    {kOpEof, {0, 0x21, 0, 0, 0, 0}},
    {kOpGetByKey, {1, 0x01, 0, 0x02, 0, 0x02}},
    {kOpGetByPointer, {1, 0x01, 0, 0x02, 0, 0x02}},
    {kOpGetKeyPointer, {1, 0x01, 0, 0x02, 0, 0x02}},
    {kOpHold, {1, 0x01, 0, 0, 0, 0}},
    {kOpHoldSeconds, {1, 0x01, 0, 0, 0, 0}},
    {kOpLock, {1, 0x01, 0x10, 0x90, 0, 0}},
    {kOpLockSeconds, {1, 0x01, 0x10, 0x90, 0, 0}},
    {kOpLogout, {1, 0x01, 0x04, 0x04, 0, 0}},
    {kOpNext, {5, 0x21, 0, 0x02, 0, 0x02}},
    {kOpOpen, {1, 0, 0x01, 0x01, 0, 0}},
    {kOpPack, {1, 0xC1, 0x04, 0, 0x22, 0x22}},
    {kOpPointerFile, {0, 0x03, 0, 0, 0, 0}},
    {kOpPointerKey, {0, 0x03, 0, 0, 0, 0}},
    {kOpFlush, {1, 0x09, 0, 0, 0x08, 0}},
    {kOpPut, {1, 0x43, 0, 0, 0, 0}},
    {kOpPrevious, {5, 0x21, 0, 0x02, 0, 0x02}},
    {kOpRecordsFile, {0, 0x01, 0, 0, 0, 0}},
    {kOpRecordsKey, {0, 0x01, 0, 0, 0, 0}},
    {kOpTwoNames, {1, 0x01, 0x04, 0, 0, 0}},
    {kOpRelease, {1, 0x01, 0, 0, 0, 0}},
    {kOpRemove, {3, 0, 0x01, 0, 0, 0}},
    {kOpRename, {3, 0, 0x01, 0, 0, 0}},
    {kOpRollback, {1, 0x05, 0, 0, 0x04, 0}},
    {kOpSetFile, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpSetFileKey, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpSetFilePointer, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpSetKey, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpSetKeyKey, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpSetKeyPointer, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpSetKeyKeyPointer, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpShare, {1, 0, 0x01, 0x01, 0, 0}},
    {kOpSkip, {5, 0x21, 0, 0, 0x02, 0x02}},
    {kOpUnlock, {1, 0x11, 0x04, 0, 0x10, 0}},
    {kOpAddLength, {1, 0x01, 0, 0, 0, 0}},
    {kOpBytes, {1, 0x01, 0, 0, 0, 0}},
    {kOpGetPointerLength, {1, 0x01, 0, 0x02, 0, 0x02}},
    {kOpPutPointer, {1, 0x41, 0, 0, 0, 0x02}},
    {kOpPutPointerLength, {1, 0x41, 0, 0, 0, 0x02}},
    {kOpStream, {1, 0x01, 0x08, 0x08, 0, 0}},
    {kOpDuplicateKey, {1, 0x01, 0, 0, 0, 0}},
    {kOpWatch, {1, 0x01, 0, 0, 0, 0}},
    {kOpAppendLength, {1, 0x41, 0, 0, 0, 0}},
    {kOpPositionFile, {1, 0x03, 0, 0, 0, 0}},
    {kOpPositionKey, {1, 0x03, 0, 0, 0, 0}},
    {kOpResetFile, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpResetKey, {5, 0x01, 0, 0x20, 0, 0x20}},
    {kOpNoMemo, {0, 0x01, 0, 0, 0, 0}},
    {kOpRegetFile, {1, 0x01, 0, 0x02, 0, 0}},
    {kOpRegetKey, {1, 0x01, 0, 0x02, 0, 0}},
    {68, {1, 0x01, 0, 0, 0, 0}},
    {69, {1, 0x01, 0, 0, 0, 0}},
    {70, {1, 0x01, 0, 0, 0, 0}},
    {kOpBlobRead, {1, 0x01, 0, 0, 0, 0}},
    {kOpBlobWrite, {1, 0x01, 0, 0, 0, 0}},
    {kOpBlobSetProperty, {1, 0x01, 0, 0, 0, 0}},
    {kOpBlobGetProperty, {1, 0x01, 0, 0, 0, 0}},
    {kOpSequenceKeyNumber, {0, 0x01, 0, 0, 0, 0}},
    {kOpBlobSize, {0, 0x01, 0, 0, 0, 0}},
};

constexpr std::array<Precondition, kOpCodeLimit> BuildTable() {
  std::array<Precondition, kOpCodeLimit> table{};
  for (const Row& row : kRows) table[row.code] = row.precondition;
  return table;
}

constexpr std::array<Precondition, kOpCodeLimit> kTable = BuildTable();

// The first error that a missing required bit of an open file gives.
int32_t MissingBitError(uint32_t missing) {
  if (missing & (kStateCurrentRecord | kStateSequence)) return file_error::kRecordNotAvailable;
  if (missing & kStateExclusive) return file_error::kExclusiveAccessRequired;
  if (missing & kStateWrite) return file_error::kAccessDenied;
  return kSilentFailure;
}

}  // namespace

Precondition PreconditionOf(int32_t code) {
  if (code < 1 || code >= kOpCodeLimit) return {};
  return kTable[code];
}

int32_t CheckPrecondition(const Precondition& row, uint32_t stateBits) {
  uint32_t missing = row.required & ~stateBits;
  if (missing & kStateOpen) return file_error::kFileNotOpen;
  if (missing && (stateBits & kStateOpen)) {
    int32_t error = MissingBitError(missing);
    if (error != 0) return error;
  }
  uint32_t present = row.forbidden & stateBits;
  if (present & kStateOpen) return file_error::kFileAlreadyOpen;
  if (present & kStateLogout) return file_error::kLogoutAlreadyActive;
  if (present) return kSilentFailure;
  return 0;
}

}  // namespace rk
