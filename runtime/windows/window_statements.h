// The runtime operations that a loop body calls on the thread's current window:
// SELECT, DISPLAY, CHOICE and the property reads and writes. Control 0 names the
// window itself (properties) or the current event's control (CHOICE). Each one
// raises 536 when the thread's current window is not open.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace rk {

// Gives the control the focus (its selected event follows) and ends a running
// validation pass. While a pass runs, only the current event's control can be
// selected; any other SELECT is ignored. SELECT(0) starts the validation pass.
void SELECT(int32_t control = 0);

// Shows the bound variables' values in the controls numbered first to last;
// DISPLAY() shows all, DISPLAY(n) control n alone.
void DISPLAY(int32_t first = 0, int32_t last = 0);

// The kind's current value of the control (0: the current event's control): a
// list's selected row, a sheet's tab, an option's radio, a spin box's value.
int32_t CHOICE(int32_t control = 0);

void SetProperty(int32_t control, int32_t code, std::string_view value, int32_t index = 0);
void SetProperty(int32_t control, int32_t code, int32_t value, int32_t index = 0);
// The property's text; empty for a property the window or control does not have.
std::string GetProperty(int32_t control, int32_t code, int32_t index = 0);
int32_t GetPropertyNumber(int32_t control, int32_t code, int32_t index = 0);

// Called whenever a window's status-bar text (property 0x7D01) is set, so that
// the frame can show it.
class Window;
using StatusTextHook = std::function<void(const Window& window)>;
void SetStatusTextHook(StatusTextHook hook);

}  // namespace rk
