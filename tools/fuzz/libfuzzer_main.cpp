// The libFuzzer entry of one target: RK_FUZZ_INPUT names the target's function.
#include "tools/fuzz/fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RK_FUZZ_INPUT(data, size);
}
