#include "runtime/files/view_walk.h"

#include <cstdlib>
#include <cstring>

#include "runtime/core/clear_value.h"
#include "runtime/core/error_state.h"
#include "runtime/core/value_ref.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/field_compare.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_driver.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/view_filter.h"

namespace rk {
namespace {

enum class Step : uint8_t { kDeeper, kUp, kFailed };

struct Walk {
  View& view;
  ViewState& state;
  bool forward;
};

bool Passes(const Walk& walk, size_t level) {
  const ViewFilter* filter = walk.view.filter();
  return !filter || filter->Passes(level);
}

// The level's next record in the walk's direction: 0, 33 or the driver's error.
int32_t ReadLevel(const ViewLevel& level, bool forward) {
  if (level.noMemo) NOMEMO(*level.file);
  if (forward) {
    NEXT(*level.file);
  } else {
    PREVIOUS(*level.file);
  }
  return ErrorCode();
}

// The number of the key that orders the primary file's sequence (0: record order).
int32_t SequenceKey(FileDescriptor& primary) {
  int32_t key = CallFileOperation(kOpSequenceKeyNumber, primary);
  return key >= 0 && key <= primary.keyCount && primary.keys ? key : 0;
}

// --- Joined levels ---------------------------------------------------------------

// The parent's values into the join key's leading components; their encoding
// is what every matching record carries.
void CopyJoinValues(const ViewState& state, ViewLevel& level) {
  const ViewLevel& parent = state.levels[level.parent];
  for (size_t k = 0; k < level.parentFields.size(); ++k) {
    const FieldInfo& from = parent.fields[static_cast<size_t>(level.parentFields[k]) - 1];
    ValueRef target = FieldValueRef(level.joinOrder.field(k), level.file->record);
    AssignRef(target, FieldValueRef(from, parent.file->record));
  }
  level.joinValue = level.joinOrder.EncodePrefix(level.parentFields.size(), level.file->record);
}

// SET(key, key) on the join key at the first (last) entry of the parent's values.
int32_t SetUpJoin(const Walk& walk, ViewLevel& level) {
  CopyJoinValues(walk.state, level);
  for (size_t k = level.parentFields.size(); k < level.joinOrder.size(); ++k)
    level.joinOrder.FillExtreme(k, level.file->record, !walk.forward);
  SET(*level.joinKey, *level.joinKey);
  return ErrorCode();
}

// The level contributes an empty record, unless the filter refuses it.
Step Empty(const Walk& walk, size_t index) {
  ViewLevel& level = walk.state.levels[index];
  ClearLevelRecord(level);
  level.state = LevelState::kNoMatch;
  if (Passes(walk, index)) return Step::kDeeper;
  level.state = LevelState::kNotStarted;
  return Step::kUp;
}

Step StepJoined(const Walk& walk, size_t index) {
  ViewLevel& level = walk.state.levels[index];
  // A parent that contributed an empty record has no children either.
  bool parentEmpty = walk.state.levels[level.parent].state == LevelState::kNoMatch;
  switch (level.state) {
    case LevelState::kNoMatch:
      level.state = LevelState::kNotStarted;
      return Step::kUp;
    case LevelState::kNotStarted:
      if (parentEmpty) return Empty(walk, index);
      if (SetUpJoin(walk, level) != 0) return Step::kFailed;
      level.state = LevelState::kSetUp;
      break;
    case LevelState::kRestart:
      if (parentEmpty) return Empty(walk, index);
      CopyJoinValues(walk.state, level);
      level.state = LevelState::kSetUp;
      break;
    default:
      break;
  }
  const size_t fed = level.parentFields.size();
  for (;;) {
    int32_t error = ReadLevel(level, walk.forward);
    if (error != 0 && error != file_error::kRecordNotAvailable) return Step::kFailed;
    if (error != 0 || level.joinOrder.EncodePrefix(fed, level.file->record) != level.joinValue)
      break;
    level.state = LevelState::kMatched;
    if (Passes(walk, index)) return Step::kDeeper;
  }
  if (level.state != LevelState::kMatched) return Empty(walk, index);
  ClearLevelRecord(level);
  level.state = LevelState::kNotStarted;
  return Step::kUp;
}

// --- The primary file --------------------------------------------------------------

// SET(key, key) at the first key value the range allows.
int32_t Reposition(const Walk& walk) {
  FileDescriptor& primary = walk.view.primary();
  walk.state.range.StoreStart(primary.record, walk.forward);
  KeyDescriptor& key = *primary.keys[walk.state.orderKey - 1];
  SET(key, key);
  return ErrorCode();
}

Step StepPrimary(const Walk& walk) {
  ViewState& state = walk.state;
  ViewLevel& level = state.levels[0];
  FileDescriptor& primary = *level.file;
  // From the start of the key the walk can go straight to the range; anywhere
  // else it looks at the first record before it moves.
  bool fromKeyStart = false;
  if (level.state == LevelState::kNotStarted) {
    state.orderKey = SequenceKey(primary);
    fromKeyStart = primary.state && primary.state->lastSequential == kOpSetKey;
    level.state = LevelState::kSetUp;
  } else if (level.state == LevelState::kRestart) {
    level.state = LevelState::kSetUp;
  }
  ViewRange& range = state.range;
  if (!range.AnalysedFor(state.orderKey))
    range.Analyse(walk.view.filter(), primary, level.fields, state.orderKey);
  range.Prepare();

  bool repositioned = false;
  if (fromKeyStart && range.HasStart(walk.forward)) {
    if (Reposition(walk) != 0) return Step::kFailed;
    repositioned = true;
  }
  for (;;) {
    int32_t error = ReadLevel(level, walk.forward);
    if (error == file_error::kRecordNotAvailable) break;
    if (error != 0) return Step::kFailed;
    RangePlace place = range.Locate(primary.record, walk.forward);
    if (place == RangePlace::kBeyond) break;
    if (place == RangePlace::kBefore) {
      // Records before the range cannot pass; jump over them once.
      if (!repositioned && range.HasStart(walk.forward)) {
        if (Reposition(walk) != 0) return Step::kFailed;
        repositioned = true;
      }
      continue;
    }
    level.state = LevelState::kMatched;
    if (Passes(walk, 0)) return Step::kDeeper;
  }
  ClearLevelRecord(level);
  level.state = LevelState::kNotStarted;
  return Step::kUp;
}

bool PrimarySequenceChanged(View& view, const ViewState& state) {
  const FileState* primary = view.primary().state;
  return primary && primary->lastSequential != state.primaryLastOp;
}

int32_t RunWalk(View& view, ViewState& state, bool forward) {
  const Walk walk{view, state, forward};
  const size_t last = state.levels.size() - 1;
  size_t index = state.positioned ? last : 0;
  for (;;) {
    Step step = index == 0 ? StepPrimary(walk) : StepJoined(walk, index);
    if (step == Step::kFailed) return kSilentFailure;
    if (step == Step::kDeeper) {
      if (index == last) {
        state.positioned = true;
        state.readMode = ReadMode::kRead;
        return 0;
      }
      ++index;
    } else {
      if (index == 0) {
        state.positioned = false;
        return file_error::kRecordNotAvailable;
      }
      --index;
    }
  }
}

}  // namespace

void ClearLevelRecord(const ViewLevel& level) {
  FileDescriptor& file = *level.file;
  ClearValue(file.record, {file.fieldList, file.fieldListLength}, kClearBlank);
  for (int m = 0; m < file.memoCount; ++m) {
    MemoDescriptor* memo = file.memos ? file.memos[m] : nullptr;
    if (memo && memo->buffer) std::memset(memo->buffer, ' ', memo->size);
  }
}

void RestartLevels(ViewState& state) {
  for (ViewLevel& level : state.levels) level.state = LevelState::kNotStarted;
  state.positioned = false;
  state.readMode = ReadMode::kStarted;
}

void RememberPrimarySequence(View& view, ViewState& state) {
  const FileState* primary = view.primary().state;
  state.primaryLastOp = primary ? primary->lastSequential : 0;
}

int32_t MoveView(View& view, ViewState& state, bool forward) {
  // SET on the primary file starts a new walk, even after REGET.
  if (PrimarySequenceChanged(view, state)) RestartLevels(state);
  if (state.readMode == ReadMode::kReget) return kUnknownErrorPosted;
  int32_t result = RunWalk(view, state, forward);
  RememberPrimarySequence(view, state);
  return result;
}

int32_t SkipView(View& view, ViewState& state, int32_t count) {
  bool forward = count > 0;
  for (int64_t n = std::llabs(int64_t{count}); n > 0; --n) {
    int32_t result = MoveView(view, state, forward);
    if (result == file_error::kRecordNotAvailable) return 0;
    if (result != 0) return result;
  }
  return 0;
}

int32_t SetView(View& view, ViewState& state) {
  RestartLevels(state);
  FileDescriptor& primary = view.primary();
  int32_t key = SequenceKey(primary);
  if (key > 0) {
    SET(*primary.keys[key - 1]);
  } else {
    SET(primary);
  }
  RememberPrimarySequence(view, state);
  return ErrorCode() == 0 ? 0 : kSilentFailure;
}

}  // namespace rk
