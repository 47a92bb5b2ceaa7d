#include "runtime/files/ascii_line_writer.h"

#include <algorithm>

#include "runtime/core/clipped_text.h"
#include "runtime/core/record_code_page.h"
#include "runtime/files/ascii_file_lock.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_driver.h"

namespace rk {
namespace {

// The bytes of the line: the record part, converted and clipped, then the
// terminator.
void ComposeLine(AsciiFileState& state, uint32_t length, std::vector<uint8_t>& line) {
  line.assign(state.record, state.record + state.recordLength);
  if (state.oem() && state.file && state.file->fieldList)
    RecordToOem(line.data(), {state.file->fieldList, state.file->fieldListLength});
  line.resize(std::min(length, state.recordLength));
  if (state.options.clip) {
    std::string_view text(reinterpret_cast<const char*>(line.data()), line.size());
    line.resize(ClipRight(text).size());
  }
  line.insert(line.end(), state.options.terminator.begin(), state.options.terminator.end());
}

int32_t WriteLocked(AsciiFileState& state, AsciiWritePlace place, uint32_t length) {
  // Another program may have added lines: the end is asked afresh, whatever
  // QUICKSCAN says, so that a line is never written over theirs.
  if (int32_t error =
          place.atEnd && state.shared ? RefreshAsciiFileSize(state) : RefreshSizeForAccess(state);
      error != 0) {
    return error;
  }
  const uint64_t offset = place.atEnd ? state.fileSize : place.offset;
  if (offset > state.fileSize) return file_error::kRecordNotAvailable;

  std::vector<uint8_t>& line = state.lineBytes;
  ComposeLine(state, length, line);
  state.buffer.Invalidate();
  uint32_t written = 0;
  uint32_t error = platform::WriteAt(state.handle, offset, line.data(),
                                     static_cast<uint32_t>(line.size()), written);
  if (error != 0) return SystemFailureCode();
  if (written != line.size()) return file_error::kAccessDenied;

  state.fileSize = std::max(state.fileSize, offset + written);
  state.lineStart = offset;
  state.lineLength = written;
  state.nextPosition = offset + written;
  return 0;
}

}  // namespace

int32_t RefreshAsciiFileSize(AsciiFileState& state) {
  uint64_t size = 0;
  if (platform::FileSize(state.handle, size) != 0) return SystemFailureCode();
  // Bytes added behind the held block are read when wanted; a file that
  // changed its size otherwise may hold other bytes where the block was.
  if (size != state.fileSize) state.buffer.Invalidate();
  state.fileSize = size;
  return 0;
}

int32_t RefreshSizeForAccess(AsciiFileState& state) {
  if (!state.shared || state.options.quickScan) return 0;
  return RefreshAsciiFileSize(state);
}

int32_t WriteAsciiLine(AsciiFileState& state, AsciiWritePlace place, uint32_t length) {
  if (int32_t error = BeginAsciiWrite(state); error != 0) return error;
  int32_t result = WriteLocked(state, place, length);
  EndAsciiWrite(state);
  return result;
}

}  // namespace rk
