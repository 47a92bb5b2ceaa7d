// Live windows and controls by id. Platform messages name their window or
// control by id, never by address, so a message that arrives after its object
// is gone finds nothing and is dropped. A window takes a new id each time it
// opens (a control is made anew for each opening), so a message meant for an
// earlier opening is dropped too. Ids are never reused.
#pragma once

#include <cstdint>

namespace rk {

class Window;
class Control;

uint32_t RegisterWindow(Window* window);
void UnregisterWindow(uint32_t id);
Window* FindWindow(uint32_t id);

uint32_t RegisterControl(Control* control);
void UnregisterControl(uint32_t id);
Control* FindControlById(uint32_t id);

}  // namespace rk
