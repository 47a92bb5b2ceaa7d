// What a program calls to bring up the window system before its first thread
// runs: the display, the runtime's font names on it, and how the program
// presents itself to the desktop. The program reaches the platform only
// through here.
#pragma once

#include <memory>
#include <string>

namespace rk {

namespace platform {
class DisplaySession;
}

// Opens the display and registers the typefaces the definitions name; the
// display stays open while the object lives.
class WindowSystem {
 public:
  explicit WindowSystem(const std::string& programPath);
  ~WindowSystem();
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

 private:
  std::unique_ptr<platform::DisplaySession> display_;
};

struct ProgramIdentity {
  std::string name;
  std::string version;
  std::string desktopFileName;  // the launcher's file name without ".desktop"
  std::string iconName;         // an icon resource or file, as IconNamed finds it
};

// Call once the display is open, before the first window opens.
void PresentProgram(const ProgramIdentity& identity);

}  // namespace rk
