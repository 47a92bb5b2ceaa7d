// Hands Qt's accessibility framework the interfaces of the widgets that the
// runtime draws itself (list boxes, entry fields). Installed once, by the first
// such widget made, so every program that shows them (the application, the
// tests, the screenshot tools) exposes them without a set-up step of its own.
#pragma once

namespace rk::platform {

void InstallAccessibleFactory();

}  // namespace rk::platform
