// The platform's warning sound.
#pragma once

namespace rk::platform {

void Beep();

}  // namespace rk::platform
