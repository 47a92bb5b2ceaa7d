#include "runtime/platform/qt/display_session.h"

#include <QApplication>
#include <QIcon>

namespace rk::platform {

DisplaySession::DisplaySession(const std::string& programPath) : programPath_(programPath) {
  // Qt keeps argc and argv for the application's lifetime: both live here.
  argv_[0] = programPath_.data();
  application_ = std::make_unique<QApplication>(argc_, argv_);
}

DisplaySession::~DisplaySession() = default;

void SetProgramIdentity(const std::string& name, const std::string& version,
                        const std::string& desktopFileName) {
  QCoreApplication::setApplicationName(QString::fromStdString(name));
  QCoreApplication::setApplicationVersion(QString::fromStdString(version));
  QGuiApplication::setDesktopFileName(QString::fromStdString(desktopFileName));
}

void SetProgramIcon(const QIcon& icon) {
  QApplication::setWindowIcon(icon);
}

bool DisplayOpen() {
  return QApplication::instance() != nullptr;
}

}  // namespace rk::platform
