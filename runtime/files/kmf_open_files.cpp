#include "runtime/files/kmf_open_files.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace rk::kmf {
namespace {

struct OpenFile {
  std::string key;
  std::unique_ptr<File> file;
  int users = 0;
};

// Never destroyed: a program ending through a runtime error leaves its files to
// the operating system (whatever was not written back is recovered or dropped
// at the next open) instead of writing back from inside exit.
std::vector<OpenFile>& OpenFiles() {
  static auto* files = new std::vector<OpenFile>();
  return *files;
}

std::string ListKey(const std::string& path) {
  std::error_code error;
  auto canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
  return error ? path : canonical.string();
}

}  // namespace

std::string KmfFileName(const std::string& name) {
  size_t slash = name.find_last_of("/\\");
  size_t dot = name.find_last_of('.');
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return hasExtension ? name : name + ".KMF";
}

File* FindOpenFile(const std::string& path) {
  std::string key = ListKey(path);
  for (OpenFile& entry : OpenFiles()) {
    if (entry.key == key) return entry.file.get();
  }
  return nullptr;
}

uint32_t AcquireFile(const std::string& path, uint32_t mode, File*& file) {
  std::string key = ListKey(path);
  for (OpenFile& entry : OpenFiles()) {
    if (entry.key == key) {
      ++entry.users;
      file = entry.file.get();
      return 0;
    }
  }
  std::unique_ptr<File> opened;
  uint32_t error = File::Open(path, mode, opened);
  if (error != 0) return error;
  file = opened.get();
  OpenFiles().push_back({key, std::move(opened), 1});
  return 0;
}

uint32_t ReleaseFile(File* file) {
  auto& files = OpenFiles();
  for (auto it = files.begin(); it != files.end(); ++it) {
    if (it->file.get() != file) continue;
    uint32_t error = 0;
    if (file->HasChanges() && !file->inTransaction()) error = file->WriteBack();
    if (--it->users == 0) {
      if (error == 0) file->CutToUsedEnd();
      files.erase(it);
    } else {
      file->ReleaseAccessLock();
    }
    return error;
  }
  return 0;
}

}  // namespace rk::kmf
