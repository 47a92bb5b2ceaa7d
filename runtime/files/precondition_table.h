// The state machine that every driver applies around each operation: the state
// bits an operation needs and forbids, and how the bits move after it.
#pragma once

#include <cstdint>

namespace rk {

struct Precondition {
  uint8_t post = 0;       // post flags added on success
  uint8_t required = 0;   // state bits that must be present
  uint8_t forbidden = 0;  // state bits that must be absent
  uint8_t set = 0;        // set on success
  uint8_t clearOk = 0;    // cleared on success
  uint8_t clearFail = 0;  // cleared on failure
};

// The row of a code; an all-zero row for codes the table does not list.
Precondition PreconditionOf(int32_t code);

// The error the state bits give before the operation runs: 0 when it may run,
// -1 for a silent failure, else the file error code.
int32_t CheckPrecondition(const Precondition& row, uint32_t stateBits);

}  // namespace rk
