#include "runtime/files/file_driver.h"

#include <algorithm>

#include "runtime/core/value_stack.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/last_error.h"

namespace rk {

bool DriverDeclares(const DriverRegistration& registration, int32_t code) {
  if (registration.codes.empty()) return false;
  size_t count = std::min<size_t>(registration.codes[0] + 1u, registration.codes.size() - 1);
  auto codes = registration.codes.subspan(1, count);
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool DriverStoresType(const DriverRegistration& registration, uint8_t type) {
  if (registration.types.empty()) return false;
  size_t count = std::min<size_t>(registration.types[0], registration.types.size() - 1);
  auto types = registration.types.subspan(1, count);
  return std::find(types.begin(), types.end(), type) != types.end();
}

bool AnswerRegisterQuery(const DriverRegistration& registration, FileCall& call) {
  if (call.code != kOpSend || CompareSpacePadded(call.texts[0], registration.query) != 0)
    return false;
  call.textResult = registration.name;
  if (!call.state->isOpen()) call.state->postFlags |= kPostDiscardState;
  return true;
}

int32_t SystemFailureCode() {
  return 300 + static_cast<int32_t>(platform::LastError());
}

}  // namespace rk
