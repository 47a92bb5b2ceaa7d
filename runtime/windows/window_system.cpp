#include "runtime/windows/window_system.h"

#include "runtime/platform/qt/display_session.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/windows/icon_lookup.h"

namespace rk {

WindowSystem::WindowSystem(const std::string& programPath)
    : display_(std::make_unique<platform::DisplaySession>(programPath)) {
  platform::InstallFontSubstitutions();
}

WindowSystem::~WindowSystem() = default;

void PresentProgram(const ProgramIdentity& identity) {
  platform::SetProgramIdentity(identity.name, identity.version, identity.desktopFileName);
  platform::SetProgramIcon(IconNamed(identity.iconName));
}

}  // namespace rk
