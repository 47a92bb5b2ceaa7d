// The working state of a view: one level per file (level 0 the primary file)
// with its place in the walk, and for the whole view the read mode, whether it
// is positioned, the ordering key and the range limits. States are made on the
// first operation on a view and kept in a process-wide list, found by the view
// object, until CLOSE.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/files/field_list.h"
#include "runtime/files/file_descriptor.h"
#include "runtime/files/view.h"
#include "runtime/files/view_key_order.h"
#include "runtime/files/view_range.h"

namespace rk {

enum class LevelState : uint8_t {
  kNotStarted = 0,
  kSetUp = 1,    // the join key is SET (level 0: the walk has begun)
  kRestart = 2,  // RESET to a remembered record, which the next step reads again
  kMatched = 3,  // positioned on a matching record
  kNoMatch = 4,  // no matching record: the level contributes an empty record once
};

enum class ReadMode : uint8_t {
  kStarted = 0,  // after RESET or SET
  kRead = 1,     // after a successful NEXT or PREVIOUS
  kReget = 2,    // after REGET or code 16: NEXT and PREVIOUS are refused
};

struct ViewLevel {
  FileDescriptor* file = nullptr;
  KeyDescriptor* joinKey = nullptr;  // none for level 0
  size_t parent = 0;
  std::vector<FieldInfo> fields;      // the file's fields, numbered from 1
  std::vector<int32_t> parentFields;  // feed the join key's leading components
  KeyOrder joinOrder;                 // every component of the join key
  std::string joinValue;              // the fed components' encoding as last set up
  bool noMemo = false;                // no memo projected while the file has memos
  LevelState state = LevelState::kNotStarted;
};

struct ViewState {
  std::vector<ViewLevel> levels;
  ReadMode readMode = ReadMode::kStarted;
  bool positioned = false;
  int32_t orderKey = 0;  // the primary file's key number, 0 for record order
  // The primary file's last sequential operation as the view left it: any
  // other means the application has SET the file, which starts a new walk.
  int32_t primaryLastOp = 0;
  ViewRange range;
};

// The view's state, made on first use; null with `error` when the declaration
// is unusable (47 "Invalid Record Declaration") or a file's field list is
// damaged (75 "Invalid Field Type Descriptor").
ViewState* ViewStateOf(View& view, int32_t& error);
// Releases the state (CLOSE, or the view's end); nothing when there is none.
void ReleaseViewState(const View& view);

}  // namespace rk
