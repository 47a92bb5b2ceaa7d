// The platform's warning sound.
#pragma once

#include <cstdint>

namespace rk::platform {

void Beep();
// How many beeps have sounded since the program started; lets a caller see
// whether an action was refused.
uint64_t BeepsSounded();

}  // namespace rk::platform
