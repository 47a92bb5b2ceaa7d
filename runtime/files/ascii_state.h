// The working state of a text file opened through the ASCII driver: beside the
// common part, the handle and its read buffer, the cached file size, where the
// current line lies and the driver options (terminator, tabs, clipping, size
// checks).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/files/ascii_read_buffer.h"
#include "runtime/files/file_state.h"
#include "runtime/platform/os_file.h"

namespace rk {

inline constexpr uint32_t kAsciiBufferBlock = 512;
inline constexpr uint32_t kAsciiDefaultBuffer = 512;
inline constexpr uint32_t kAsciiExclusiveBuffer = 1024;
inline constexpr int32_t kAsciiDefaultTab = 8;
inline constexpr int32_t kAsciiKeepTab = -100;  // TAB value that keeps the tab character
inline constexpr uint8_t kEndOfDataMark = 0x1A;

struct AsciiOptions {
  uint32_t bufferSize = kAsciiDefaultBuffer;
  std::string terminator = "\r\n";
  int32_t tab = kAsciiDefaultTab;
  bool clip = true;
  bool quickScan = false;
};

struct AsciiFileState : FileState {
  ~AsciiFileState() override;

  platform::FileHandle handle = platform::kNoHandle;
  AsciiReadBuffer buffer;
  uint64_t fileSize = 0;      // cached; see RefreshSizeForAccess
  uint64_t lineStart = 0;     // the current record's line
  uint64_t lineLength = 0;    // bytes the current record consumed, terminator included
  uint64_t nextPosition = 0;  // where NEXT reads
  AsciiOptions options;
  bool readOnly = false;
  // Other programs may write the file while it is open: its size is asked again
  // before reads and writes (unless QUICKSCAN says to trust it) and every write
  // takes the file lock.
  bool shared = false;
  int32_t lockDepth = 0;             // nesting of the file lock taken for writes
  std::vector<uint8_t> blankRecord;  // the cleared record, copied before each read
  // The line being written: the record (converted for OEM files, clipped) and
  // its terminator.
  std::vector<uint8_t> lineBytes;

  bool oem() const { return (attributes & kFileAttrOem) != 0; }
};

}  // namespace rk
