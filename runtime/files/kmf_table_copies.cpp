// COPY, the copy of an open file under a new name, and the rebuild of a file
// through a copy: each writes every record of the file, in key order, into a
// fresh file.
#include "runtime/files/error_codes.h"
#include "runtime/files/kmf_file_copy.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/kmf_table.h"
#include "runtime/platform/last_error.h"
#include "runtime/platform/os_errors.h"
#include "runtime/platform/os_file.h"

namespace rk::kmf {
namespace {

constexpr uint32_t kReadDenyWriteMode = 0x20;
// The rebuild's copy when none is named: the file's name with this extension.
constexpr const char kRebuildExtension[] = ".$$$";

int32_t OsFailure(uint32_t error) {
  platform::SetLastError(error);
  return kOsFailure;
}

std::string DefaultCopyName(const std::string& fileName) {
  size_t dot = fileName.find_last_of('.');
  size_t slash = fileName.find_last_of("/\\");
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? fileName.substr(0, dot) : fileName) + kRebuildExtension;
}

}  // namespace

int32_t Table::CopyTo(const std::string& newName) {
  if (fileName_.empty() || newName.empty()) return file_error::kInvalidFilename;
  File* source = nullptr;
  uint32_t error = AcquireFile(fileName_, kReadDenyWriteMode, source);
  if (error == platform::kErrorFileNotFound) return file_error::kFileNotFound;
  if (error != 0) return OsFailure(error);
  int32_t result = source->BeginAccess(false);
  if (result == 0) {
    error = WriteRebuiltCopy(*source, KmfFileName(newName));
    if (error != 0) result = OsFailure(error);
  }
  source->EndOperation();
  ReleaseFile(source);
  return result;
}

int32_t Table::WriteCopy(const std::string& oldName, const std::string& newName) {
  if (newName.empty()) return file_error::kInvalidFilename;
  if (!oldName.empty() && FindOpenFile(KmfFileName(oldName)) != file_)
    return file_error::kFileNotFound;
  int32_t result = Begin(false);
  if (result == 0) {
    if (uint32_t error = WriteRebuiltCopy(*file_, KmfFileName(newName))) result = OsFailure(error);
  }
  return End(result);
}

int32_t Table::RebuildThroughCopy(const std::string& copyName) {
  std::string copy = copyName.empty() ? DefaultCopyName(fileName_) : KmfFileName(copyName);
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  uint32_t error = WriteRebuiltCopy(*file_, copy);
  if (error == 0) error = ReplaceRecordsFrom(*file_, copy);
  platform::DeleteFileByName(copy);
  ClearCurrent();
  return End(error != 0 ? OsFailure(error) : 0);
}

}  // namespace rk::kmf
