// The walk of a view: NEXT, PREVIOUS and SKIP over the combinations of records
// that satisfy the joins and the filter, and the restart of the walk by SET.
//
// Every level steps in the walk's direction and answers "deeper" (positioned on
// a record, go one level down) or "up" (exhausted, go one level up). The walk
// begins at the deepest level when the view is positioned, else at level 0; it
// yields a combination when the last level answers "deeper" and ends (33) when
// level 0 answers "up". A joined level that matches nothing for its parent
// answers "deeper" once with an empty record, so that a parent without
// children is still yielded.
#pragma once

#include <cstdint>

#include "runtime/files/view.h"
#include "runtime/files/view_state.h"

namespace rk {

// 0, 33 "Record Not Available" at the end of the view, 81 "Unknown Error
// Posted" after REGET, or kSilentFailure when a level's driver has posted its
// own error.
int32_t MoveView(View& view, ViewState& state, bool forward);
// n moves in the direction of the sign; the end of the view ends it quietly.
int32_t SkipView(View& view, ViewState& state, int32_t count);
// SET(view): a new walk from the start of the primary file's ordering key.
int32_t SetView(View& view, ViewState& state);

// Every level back to not started, the view unpositioned, read mode 0.
void RestartLevels(ViewState& state);
// Notes the primary file's last sequential operation after the view's own.
void RememberPrimarySequence(View& view, ViewState& state);
// A level's record and memos cleared, as for a record that does not exist.
void ClearLevelRecord(const ViewLevel& level);

}  // namespace rk
