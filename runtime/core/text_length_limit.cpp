#include "runtime/core/text_length_limit.h"

#include "runtime/core/error_state.h"

namespace rk {

bool TextLengthAllowed(size_t length) {
  if (length <= kMaxTextLength) return true;
  SetError(kTextTooLongError, MessageText(kTextTooLongError));
  return false;
}

}  // namespace rk
