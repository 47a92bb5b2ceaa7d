// Program entry: initialises the runtime and the display, runs MAIN on the first
// runtime thread, and ends through Halt with exit code 0 once MAIN has returned.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/application_procedures.h"
#include "app/main_frame.h"
#include "runtime/core/environment_file.h"
#include "runtime/core/halt.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/thread_start.h"

namespace {

constexpr int kNoDisplayExitCode = 3;

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Qt would abort without a display it can reach; say so plainly instead.
bool DisplayAvailable() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fputs(
        "reelkeeper: no display to open windows on (neither DISPLAY nor WAYLAND_DISPLAY is "
        "set).\nStart it inside a desktop session, or set QT_QPA_PLATFORM=offscreen to run it "
        "without one.\n",
        stderr);
    return kNoDisplayExitCode;
  }
  QApplication application(argc, argv);
  rk::platform::InstallFontSubstitutions();
  rk::InitializeEnvironment();
  rk::ConnectFileLayerToThreads();
  rk::RegisterApplicationProcedures();
  if (!rk::RunFirstThread(rk::MAIN, "MAIN")) {
    std::fputs("reelkeeper: the first runtime thread could not be started.\n", stderr);
    rk::Halt(1);
  }
  rk::Halt(0);
}
