// The view engine's entry function: the operation codes applied to a view.
//
//   25 OPEN                nothing; the state is made on first use
//   7 CLOSE                the state is released
//   24 NEXT, 31 PREVIOUS   the next combination in the view's order (view_walk.h)
//   49 SKIP                NEXT or PREVIOUS repeated; the end ends it quietly
//   41 SET                 a new walk from the start of the ordering key
//   61 POSITION, 63 RESET, 66 REGET   view_position.h
//   16                     read mode 2
//   11 DELETE, 30 PUT, 18/19 HOLD, 36 RELEASE, 58 WATCH
//                          forwarded to the primary file's driver
//   71, 72                 the filter (property 0x7CB8), set and read
//   74                     none: the view has no engine of its own to offer
//   anything else          80 "Unsupported File Driver Function"
//
// Outcomes are posted as for a file, with the view as ERRORFILE; an error of a
// level's driver stays as that driver posted it.
#pragma once

#include <cstdint>

#include "runtime/files/file_descriptor.h"

namespace rk {

int32_t ViewEntry(int32_t code, FileObject* object, const intptr_t* args);

}  // namespace rk
