// The program's connection to the display: the application object that every
// window, font and timer of the platform needs, and the name, version and icon
// the desktop shows for the program's windows.
#pragma once

#include <memory>
#include <string>

class QApplication;
class QIcon;

namespace rk::platform {

class DisplaySession {
 public:
  // Only the program's path is handed to the display: every word of the command
  // line is the program's own.
  explicit DisplaySession(const std::string& programPath);
  ~DisplaySession();
  DisplaySession(const DisplaySession&) = delete;
  DisplaySession& operator=(const DisplaySession&) = delete;

 private:
  std::string programPath_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  std::unique_ptr<QApplication> application_;
};

// The program's name and version, and the launcher (its file name without
// ".desktop") its windows belong to, so the desktop shows the launcher's icon
// and name for them.
void SetProgramIdentity(const std::string& name, const std::string& version,
                        const std::string& desktopFileName);
// The icon the program's windows carry.
void SetProgramIcon(const QIcon& icon);

// Whether the display is open: the application object exists.
bool DisplayOpen();

}  // namespace rk::platform
