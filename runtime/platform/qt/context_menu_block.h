// No widget of the program opens a context menu of Qt's own. Line edits, text
// edits, spin boxes, scroll bars, an MDI window's title bar, a header's action
// menu and the file dialog's views and sidebar each open one on a right click or
// the menu key; several run a nested event loop, in which every runtime thread
// stands still, and all of them act on a widget behind the runtime's back. One
// filter on the application drops every context-menu event before any widget
// sees it, so it also covers the widgets that Qt creates later on its own (a
// drop list's scroll bar, a completer's popup). The runtime's own right clicks
// (a list's popup) come from mouse presses and are not touched.
#pragma once

namespace rk::platform {

// Installs the filter once; nothing before the application object exists. Every
// platform widget that the runtime creates calls it first.
void BlockContextMenus();

}  // namespace rk::platform
