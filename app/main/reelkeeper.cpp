// Program entry: reads the command line, makes the data folder ready and works
// inside it, initialises the runtime and the display, runs MAIN on the first
// runtime thread, and ends through Halt with exit code 0 once MAIN has returned.
// Everything that can be wrong with the command line or the folder is said on
// standard error before any window opens.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/application_procedures.h"
#include "app/main/data_folder.h"
#include "app/main/desktop_identity.h"
#include "app/main/program_options.h"
#include "app/main_frame.h"
#include "resources/resource_table.h"
#include "runtime/core/environment_file.h"
#include "runtime/core/error_state.h"
#include "runtime/core/halt.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/window_system.h"

namespace {

namespace fs = std::filesystem;
using rk::start::ProgramOptions;

constexpr int kUsageExitCode = 2;
constexpr int kNoDisplayExitCode = 3;
constexpr int kDataFolderExitCode = 4;

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Qt would abort without a display it can reach; say so plainly instead.
bool DisplayAvailable() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

void Complain(const std::string& text) {
  std::fprintf(stderr, "reelkeeper: %s\n", text.c_str());
}

// Answers --help, --version and mistakes on the command line; the exit code, or
// -1 when the program is to run.
int AnswerWithoutRunning(const ProgramOptions& options) {
  switch (options.action) {
    case ProgramOptions::Action::kHelp:
      std::fputs(rk::start::UsageText().c_str(), stdout);
      return 0;
    case ProgramOptions::Action::kVersion:
      std::fputs(rk::start::VersionText().c_str(), stdout);
      return 0;
    case ProgramOptions::Action::kUsageError:
      Complain(options.error);
      std::fputs(rk::start::UsageText().c_str(), stderr);
      return kUsageExitCode;
    case ProgramOptions::Action::kRun:
      break;
  }
  return -1;
}

// The README.TXT a new collection starts with is the one built into the program,
// so an installed program needs no file of its own to find.
std::span<const uint8_t> BuiltInReadme() {
  return rk::FindResource("README.TXT", "TEXT").value_or(std::span<const uint8_t>{});
}

// Resolves, prepares and enters the data folder; false after saying why not.
bool EnterDataFolder(const ProgramOptions& options) {
  fs::path folder = options.dataFolder;
  if (folder.empty()) {
    folder = rk::start::DefaultDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (folder.empty()) {
      Complain("no data folder: HOME is not set; name the folder on the command line");
      return false;
    }
  }
  if (std::optional<std::string> problem = rk::start::PrepareDataFolder(folder, BuiltInReadme())) {
    Complain(*problem);
    return false;
  }
  std::error_code error;
  fs::current_path(folder, error);
  if (error) {
    Complain("cannot work in the data folder \"" + folder.string() + "\": " + error.message());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ProgramOptions options =
      rk::start::ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (int code = AnswerWithoutRunning(options); code >= 0) return code;
  // The environment file is named from where the user stands, before the
  // program moves into its data folder.
  if (!options.environmentFile.empty()) {
    options.environmentFile = fs::absolute(options.environmentFile).string();
  }
  if (!EnterDataFolder(options)) return kDataFolderExitCode;
  if (!DisplayAvailable()) {
    std::fputs(
        "reelkeeper: no display to open windows on (neither DISPLAY nor WAYLAND_DISPLAY is "
        "set).\nStart it inside a desktop session, or set QT_QPA_PLATFORM=offscreen to run it "
        "without one.\n",
        stderr);
    return kNoDisplayExitCode;
  }
  rk::WindowSystem windowSystem(argv[0]);
  rk::start::PresentToDesktop();
  if (!rk::InitializeEnvironment(options.environmentFile)) {
    Complain("cannot read the environment file \"" + options.environmentFile +
             "\": " + rk::ErrorName());
    return kUsageExitCode;
  }
  rk::ConnectFileLayerToThreads();
  rk::RegisterApplicationProcedures();
  if (!rk::RunFirstThread(rk::MAIN, "MAIN")) {
    std::fputs("reelkeeper: the first runtime thread could not be started.\n", stderr);
    rk::Halt(1);
  }
  rk::Halt(0);
}
