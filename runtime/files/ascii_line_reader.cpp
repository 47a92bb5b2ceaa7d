#include "runtime/files/ascii_line_reader.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/clear_value.h"
#include "runtime/core/record_code_page.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_driver.h"

namespace rk {
namespace {

constexpr uint8_t kTab = 9;

// One pass over a line: where it is in the file and what the record holds.
class LineCopy {
 public:
  LineCopy(AsciiFileState& state, uint64_t offset, uint32_t length)
      : state_(state), position_(offset), room_(length), record_(state.record) {}

  // Fills the record until the line ends or the record is full. False when a
  // read failed.
  bool Fill();
  // Skips the rest of a line that did not fit. False when a read failed.
  bool SkipRest();
  uint64_t position() const { return position_; }

 private:
  int ByteAt(uint64_t offset) { return state_.buffer.At(state_.handle, offset, state_.fileSize); }
  bool TerminatorAt(uint64_t offset);
  // Bytes from the position on that need no attention, up to the room left.
  size_t PlainRun() const;
  void ExpandTab();
  void Put(uint8_t c, size_t count) {
    count = std::min(count, room_ - filled_);
    std::memset(record_ + filled_, c, count);
    filled_ += count;
  }

  AsciiFileState& state_;
  uint64_t position_;
  size_t room_;
  uint8_t* record_;
  size_t filled_ = 0;
  bool ended_ = false;  // the terminator or the end of the data was met
};

bool LineCopy::TerminatorAt(uint64_t offset) {
  const std::string& terminator = state_.options.terminator;
  for (size_t i = 0; i < terminator.size(); ++i) {
    if (ByteAt(offset + i) != static_cast<uint8_t>(terminator[i])) return false;
  }
  return true;
}

// Length of the run before the first of the byte's occurrences, at most `limit`.
size_t RunBefore(const uint8_t* bytes, size_t limit, uint8_t byte) {
  const void* found = std::memchr(bytes, byte, limit);
  return found ? static_cast<size_t>(static_cast<const uint8_t*>(found) - bytes) : limit;
}

size_t LineCopy::PlainRun() const {
  std::span<const uint8_t> held = state_.buffer.HeldFrom(position_, state_.fileSize);
  size_t n = std::min(held.size(), room_ - filled_);
  // The terminator usually comes first: the other searches cover only its line.
  n = RunBefore(held.data(), n, static_cast<uint8_t>(state_.options.terminator[0]));
  n = RunBefore(held.data(), n, kTab);
  return RunBefore(held.data(), n, kEndOfDataMark);
}

void LineCopy::ExpandTab() {
  const int32_t tab = state_.options.tab;
  if (tab == kAsciiKeepTab) {
    Put(kTab, 1);
  } else if (tab > 0) {
    Put(' ', tab - filled_ % static_cast<size_t>(tab));
  } else if (tab < 0) {
    Put(' ', static_cast<size_t>(-static_cast<int64_t>(tab)));
  }
}

bool LineCopy::Fill() {
  while (filled_ < room_) {
    int c = ByteAt(position_);
    if (c < 0) {
      ended_ = true;
      return state_.buffer.error() == 0;
    }
    if (size_t run = PlainRun(); run > 0) {
      std::memcpy(record_ + filled_, state_.buffer.HeldFrom(position_, state_.fileSize).data(),
                  run);
      filled_ += run;
      position_ += run;
      continue;
    }
    if (c == kEndOfDataMark) {
      ended_ = true;
      return true;
    }
    if (static_cast<uint8_t>(c) == static_cast<uint8_t>(state_.options.terminator[0]) &&
        TerminatorAt(position_)) {
      position_ += state_.options.terminator.size();
      ended_ = true;
      return true;
    }
    if (state_.buffer.error() != 0) return false;
    ++position_;
    if (c == kTab && static_cast<uint8_t>(state_.options.terminator[0]) != kTab) {
      ExpandTab();
    } else {
      Put(static_cast<uint8_t>(c), 1);
    }
  }
  return true;
}

bool LineCopy::SkipRest() {
  const uint8_t first = static_cast<uint8_t>(state_.options.terminator[0]);
  while (!ended_) {
    int c = ByteAt(position_);
    if (c < 0) return state_.buffer.error() == 0;
    std::span<const uint8_t> held = state_.buffer.HeldFrom(position_, state_.fileSize);
    size_t n = RunBefore(held.data(), RunBefore(held.data(), held.size(), first), kEndOfDataMark);
    position_ += n;
    if (n < held.size()) {
      if (held[n] == kEndOfDataMark) return true;
      if (TerminatorAt(position_)) {
        position_ += state_.options.terminator.size();
        return true;
      }
      if (state_.buffer.error() != 0) return false;
      ++position_;
    }
  }
  return true;
}

// The record as cleared (texts to spaces), made once: each read copies it.
void ClearRecord(AsciiFileState& state) {
  if (state.blankRecord.size() != state.recordLength) {
    state.blankRecord.assign(state.recordLength, ' ');
    if (state.file && state.file->fieldList) {
      ClearValue(state.blankRecord.data(), {state.file->fieldList, state.file->fieldListLength},
                 kClearBlank);
    }
  }
  std::memcpy(state.record, state.blankRecord.data(), state.recordLength);
}

}  // namespace

int32_t AsciiLineStartsAt(AsciiFileState& state, uint64_t offset, bool& starts) {
  int c = state.buffer.At(state.handle, offset, state.fileSize);
  if (c < 0 && state.buffer.error() != 0) return SystemFailureCode();
  starts = c >= 0 && c != kEndOfDataMark;
  return 0;
}

int32_t ReadAsciiLine(AsciiFileState& state, uint64_t offset, uint32_t length) {
  bool starts = false;
  if (int32_t error = AsciiLineStartsAt(state, offset, starts); error != 0) return error;
  if (!starts) return file_error::kRecordNotAvailable;

  ClearRecord(state);
  LineCopy line(state, offset, std::min(length, state.recordLength));
  if (!line.Fill() || !line.SkipRest()) return SystemFailureCode();
  if (state.oem() && state.file && state.file->fieldList)
    RecordToAnsi(state.record, {state.file->fieldList, state.file->fieldListLength});

  state.lineStart = offset;
  state.lineLength = line.position() - offset;
  state.nextPosition = line.position();
  return 0;
}

}  // namespace rk
