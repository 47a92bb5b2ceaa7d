#include "runtime/files/view_position.h"

#include <vector>

#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_driver.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/view_walk.h"

namespace rk {
namespace {

void AppendLe32(std::string& text, uint32_t n) {
  for (int i = 0; i < 4; ++i) text.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}

uint32_t LoadLe32(std::string_view text, size_t at) {
  uint32_t n = 0;
  for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<uint8_t>(text[at + i]);
  return n;
}

struct ViewPosition {
  int32_t key = 0;
  std::vector<std::string_view> parts;
};

// False when the text is too short for its lengths or names a key the primary
// file does not have.
bool ParsePosition(std::string_view text, const View& view, ViewPosition& position) {
  if (text.size() < 4) return false;
  uint32_t key = LoadLe32(text, 0);
  if (key > view.primary().keyCount || (key > 0 && !view.primary().keys)) return false;
  position.key = static_cast<int32_t>(key);
  size_t at = 4;
  for (size_t i = 0; i < view.levelCount(); ++i) {
    if (text.size() - at < 4) return false;
    uint32_t length = LoadLe32(text, at);
    at += 4;
    if (length > text.size() - at) return false;
    position.parts.push_back(text.substr(at, length));
    at += length;
  }
  return true;
}

// The key whose position a level's part is: the ordering key at level 0 (none in
// record order), the join key below.
KeyDescriptor* PositionKey(View& view, const ViewState& state, size_t level) {
  if (level > 0) return state.levels[level].joinKey;
  FileDescriptor& primary = view.primary();
  return state.orderKey > 0 ? primary.keys[state.orderKey - 1] : nullptr;
}

}  // namespace

int32_t PositionOfView(View& view, ViewState& state, std::string& text) {
  if (!state.positioned) return file_error::kRecordNotAvailable;
  text.clear();
  AppendLe32(text, static_cast<uint32_t>(state.orderKey));
  for (size_t i = 0; i < state.levels.size(); ++i) {
    const ViewLevel& level = state.levels[i];
    if (level.state == LevelState::kNoMatch) {
      AppendLe32(text, 0);
      continue;
    }
    KeyDescriptor* key = PositionKey(view, state, i);
    std::string part = key ? POSITION(*key) : POSITION(*level.file);
    if (ErrorCode() != 0) return kSilentFailure;
    AppendLe32(text, static_cast<uint32_t>(part.size()));
    text += part;
  }
  return 0;
}

int32_t ResetView(View& view, ViewState& state, std::string_view text) {
  ViewPosition position;
  if (!ParsePosition(text, view, position)) return kUnknownErrorPosted;
  RestartLevels(state);
  state.orderKey = position.key;
  for (size_t i = 0; i < state.levels.size(); ++i) {
    ViewLevel& level = state.levels[i];
    if (position.parts[i].empty()) {
      GET(*level.file, 0);
      continue;
    }
    KeyDescriptor* key = PositionKey(view, state, i);
    if (key) {
      RESET(*key, position.parts[i]);
    } else {
      RESET(*level.file, position.parts[i]);
    }
    if (ErrorCode() != 0) return kSilentFailure;
    level.state = LevelState::kRestart;
  }
  RememberPrimarySequence(view, state);
  return 0;
}

int32_t RegetView(View& view, ViewState& state, std::string_view text) {
  ViewPosition position;
  if (!ParsePosition(text, view, position)) return kUnknownErrorPosted;
  for (size_t i = 0; i < state.levels.size(); ++i) {
    const ViewLevel& level = state.levels[i];
    if (position.parts[i].empty()) {
      ClearLevelRecord(level);
      continue;
    }
    REGET(*level.file, position.parts[i]);
    if (ErrorCode() != 0) return kSilentFailure;
  }
  state.readMode = ReadMode::kReget;
  return 0;
}

}  // namespace rk
