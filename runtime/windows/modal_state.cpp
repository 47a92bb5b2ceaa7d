#include "runtime/windows/modal_state.h"

namespace rk {
namespace {

int32_t modalCount = 0;

}  // namespace

int32_t ModalCount() {
  return modalCount;
}

bool SystemIsModal() {
  return modalCount != 0;
}

void EnterModal() {
  ++modalCount;
}

void LeaveModal() {
  if (modalCount > 0) --modalCount;
}

}  // namespace rk
