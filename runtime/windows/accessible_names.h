// Names for assistive tools. A screen reader announces a control by its
// accessible name: a button, check box, radio button, group or tab by its own
// text, and a field, list, spin box or text box by the prompt that stands
// before it in the definition, as a sighted person reads the form. A field
// without a prompt is named by its status-bar message or its tooltip, and a
// list without one by its window's title.
#pragma once

#include <string>
#include <string_view>

namespace rk {

class Window;

// Names every control of a freshly built window.
void NameControlsForAssistiveTools(Window& window);

// A control text as it is read aloud: "&&" stands for "&", and the "&" that
// marks the keyboard shortcut is dropped.
std::string WithoutShortcutMarks(std::string_view text);

}  // namespace rk
