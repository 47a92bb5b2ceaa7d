// What one handler in a driver's chain of handlers answers. A driver splits its
// codes among a few handlers and tries them in turn; a handler that does not own
// the code answers kNotHandled so that the next one is tried, and the answer of
// the handler that owns it (kSuccess, kSilentFailure or an error code, even
// "Unsupported File Driver Function") ends the chain.
#pragma once

#include <cstdint>
#include <optional>

namespace rk {

using DriverAnswer = std::optional<int32_t>;

inline constexpr std::nullopt_t kNotHandled = std::nullopt;

}  // namespace rk
