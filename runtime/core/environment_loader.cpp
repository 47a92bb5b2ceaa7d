// Finds, reads and applies the environment file at start-up.
#include <cerrno>
#include <cstdio>
#include <memory>

#include "runtime/core/environment_file.h"
#include "runtime/core/error_state.h"
#include "runtime/core/international_settings.h"
#include "runtime/platform/os_errors.h"
#include "runtime/platform/program_path.h"

namespace rk {
namespace {

// Environment files are small; anything beyond this is not one and is not read.
constexpr size_t kMaxEnvironmentFileSize = 1 << 20;

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    platform::FailWithErrno(errno);
    return false;
  }
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    text.append(buffer, got);
    if (text.size() > kMaxEnvironmentFileSize) {
      platform::Fail(platform::kErrorInvalidParameter);
      return false;
    }
  }
  if (std::ferror(file.get())) {
    platform::FailWithErrno(errno);
    return false;
  }
  return true;
}

}  // namespace

std::string EnvironmentFileName(std::string_view programPath) {
  size_t nameStart = programPath.find_last_of('/');
  nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
  size_t dot = programPath.find_last_of('.');
  if (dot == std::string_view::npos || dot < nameStart) dot = programPath.size();
  return std::string(programPath.substr(0, dot)) + ".ENV";
}

bool LoadEnvironmentFile(std::string_view path) {
  if (SameEnvironmentKey(path, "WINDOWS")) {
    ApplyEnvironmentSettings(
        {{"QVNCHARSET", "WINDOWS"}, {"QVNCOLSEQ", "WINDOWS"}, {"QVNCASE", "WINDOWS"}});
    return true;
  }
  std::string text;
  if (!ReadWholeFile(std::string(path), text)) {
    SetErrorFromSystem(0);
    return false;
  }
  ApplyEnvironmentSettings(ParseEnvironmentText(text));
  return true;
}

bool InitializeEnvironment(std::string_view environmentFile) {
  ApplyInternationalSettings(ReadInternationalSettings());
  if (!environmentFile.empty()) return LoadEnvironmentFile(environmentFile);
  std::string program = platform::ProgramPath();
  if (!program.empty()) LoadEnvironmentFile(EnvironmentFileName(program));
  return true;
}

}  // namespace rk
