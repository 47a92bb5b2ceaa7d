// The runtime's own error codes that the value machine raises, each with the
// text the string table gives it. The window system's codes (526-542) are in
// runtime/windows/window_open.h, the report engine's (522-525, 538, 539) in
// runtime/reports/report.h, the file layer's (below 100) in
// runtime/files/error_codes.h.
#pragma once

#include <cstdint>

namespace rk::runtime_error_code {

// Raised with "Parameter typing error": a value that cannot be assigned to or
// pushed from a reference of its type. The codes only tell the two apart.
inline constexpr int32_t kAssignTypingError = 2;
inline constexpr int32_t kPushTypingError = 3;

inline constexpr int32_t kStackOverflow = 401;       // "Stack overflow"
inline constexpr int32_t kVariableOutOfRange = 405;  // "Variable out of range"
inline constexpr int32_t kInternalError01 = 501;     // "Internal error 01": out of memory
// "Internal error 02": an entry that must be there is missing (a stack
// underflow, a thread instance never begun).
inline constexpr int32_t kInternalError02 = 502;
// "Internal error 03": an entry made twice (a thread instance begun again).
inline constexpr int32_t kInternalError03 = 503;
inline constexpr int32_t kInvalidExpression = 800;  // "Invalid expression for EVALUATE"
inline constexpr int32_t kNoBind = 801;             // "No BIND on variable"

}  // namespace rk::runtime_error_code
