#include "runtime/files/kmf_file_copy.h"

#include <vector>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/platform/os_errors.h"
#include "runtime/platform/os_file.h"

namespace rk::kmf {
namespace {

constexpr uint32_t kCreateMode = 0x142;        // read/write, deny none, create
constexpr uint32_t kReadDenyWriteMode = 0x20;  // read only, no access locks

// Calls visit with every record of the tree in key order.
template <typename Visit>
void ForEachRecord(Tree& tree, Visit visit) {
  Record found;
  std::string after;
  for (bool strictly = false; tree.SeekForward(after, strictly, found); strictly = true) {
    after = std::string(found.Key());
    visit(found);
  }
}

}  // namespace

uint32_t WriteRebuiltCopy(File& from, const std::string& path) {
  if (FindOpenFile(path)) return platform::Fail(platform::kErrorSharingViolation);
  uint32_t error = platform::DeleteFileByName(path);
  if (error != 0 && error != platform::kErrorFileNotFound) return error;
  File* copy = nullptr;
  if ((error = AcquireFile(path, kCreateMode, copy)) != 0) return error;
  if (copy->BeginAccess(true) != 0) {
    copy->EndOperation();
    ReleaseFile(copy);
    return platform::Fail(platform::kErrorGenFailure);
  }
  Tree source(from);
  Tree target(*copy);
  ForEachRecord(source, [&](const Record& record) { target.Put(record); });
  copy->ContinueNumbersFrom(from.header().lastNumberIssued);
  error = copy->EndOperation();
  uint32_t closeError = ReleaseFile(copy);
  return error != 0 ? error : closeError;
}

uint32_t ReplaceRecordsFrom(File& into, const std::string& path) {
  File* copy = nullptr;
  if (uint32_t error = AcquireFile(path, kReadDenyWriteMode, copy)) return error;
  // Nothing of the original goes before the copy is known to be readable.
  if (copy->BeginAccess(false) != 0) {
    copy->EndOperation();
    ReleaseFile(copy);
    return platform::Fail(platform::kErrorGenFailure);
  }
  Tree target(into);
  std::vector<std::string> keys;
  ForEachRecord(target, [&](const Record& record) { keys.emplace_back(record.Key()); });
  for (const std::string& key : keys) target.Remove(key);
  Tree source(*copy);
  ForEachRecord(source, [&](const Record& record) { target.Put(record); });
  into.ContinueNumbersFrom(copy->header().lastNumberIssued);
  copy->EndOperation();
  ReleaseFile(copy);
  return 0;
}

}  // namespace rk::kmf
