// How the program presents itself to the desktop: the name that ties its
// windows to the installed launcher (so the desktop shows the launcher's icon
// and name for them, also on Wayland), its name and version, and the cassette
// its windows carry as their icon.
#pragma once

namespace rk::start {

// The launcher's file name without ".desktop", and the AppStream id.
inline constexpr const char* kDesktopFileName = "org.reelkeeper.Reelkeeper";

// Call once the application object exists, before the first window opens.
void PresentToDesktop();

}  // namespace rk::start
