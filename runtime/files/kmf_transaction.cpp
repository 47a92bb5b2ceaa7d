#include "runtime/files/kmf_transaction.h"
#include "runtime/files/error_codes.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_table.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/last_error.h"

namespace rk::kmf {
namespace {

std::string& ControlFile() {
  static std::string name = "keldmark.tcf";
  return name;
}

std::vector<File*>& Members() {
  static std::vector<File*> files;
  return files;
}

std::string TransactionRecordKey(uint32_t key) {
  std::string bytes;
  AppendBe32(bytes, key);
  return bytes;
}

int32_t Fail(uint32_t osError) {
  platform::SetLastError(osError);
  return kOsFailure;
}

// Writes the changed files back together through the control file.
int32_t CommitSeveral(const std::vector<File*>& changed) {
  File* control = nullptr;
  if (AcquireFile(ControlFile(), 0x142, control) != 0) return file_error::kUnableToLogTransaction;
  struct ControlRelease {
    File* file;
    ~ControlRelease() { ReleaseFile(file); }
  } releaseControl{control};
  if (control->BeginAccess(true) != 0) return file_error::kUnableToLogTransaction;
  Tree controlTree(*control);
  uint32_t key = platform::TimeStampSeconds();
  Record existing;
  while (controlTree.Find(TransactionRecordKey(key), existing)) ++key;
  controlTree.Put(MakeRecord(TransactionRecordKey(key), {}));
  if (uint32_t error = control->WriteBack()) return Fail(error);

  std::vector<File*> prepared;
  for (File* file : changed) {
    Tree(*file).Put(MakeRecord(MarkerKey(key), ControlFile()));
    uint32_t error = file->PrepareWriteBack();
    if (error != 0) {
      for (File* done : prepared) done->AbandonPrepared();
      file->DropChanges();
      controlTree.Remove(TransactionRecordKey(key));
      control->WriteBack();
      return Fail(error);
    }
    prepared.push_back(file);
  }
  controlTree.Remove(TransactionRecordKey(key));
  if (uint32_t error = control->WriteBack()) {
    for (File* done : prepared) done->AbandonPrepared();
    return Fail(error);
  }
  for (File* file : prepared) file->CompleteWriteBack();
  // The markers served their purpose; each file drops its own again.
  for (File* file : prepared) {
    Tree(*file).Remove(MarkerKey(key));
    file->WriteBack();
  }
  return 0;
}

void EndTransaction() {
  for (File* file : Members()) {
    file->SetInTransaction(false);
    file->EndOperation();
  }
  Members().clear();
}

}  // namespace

void SetControlFileName(const std::string& name) {
  ControlFile() = name;
}
const std::string& ControlFileName() {
  return ControlFile();
}

void JoinTransaction(File* file) {
  if (InTransaction(file)) return;
  Members().push_back(file);
  file->SetInTransaction(true);
}

bool InTransaction(const File* file) {
  return std::find(Members().begin(), Members().end(), file) != Members().end();
}

int32_t CommitTransaction() {
  std::vector<File*> changed;
  for (File* file : Members()) {
    if (file->HasChanges()) changed.push_back(file);
  }
  int32_t result = 0;
  if (changed.size() == 1) {
    if (uint32_t error = changed.front()->WriteBack()) result = Fail(error);
  } else if (changed.size() > 1) {
    result = CommitSeveral(changed);
  }
  EndTransaction();
  return result;
}

void RollbackTransaction() {
  for (File* file : Members()) file->DropChanges();
  EndTransaction();
}

bool TransactionStillOpen(const std::string& controlFile, uint32_t key) {
  std::unique_ptr<File> control;
  if (File::Open(controlFile, 0x02, control) != 0) return false;
  if (control->BeginAccess(false) != 0) return false;
  Record found;
  return Tree(*control).Find(TransactionRecordKey(key), found);
}

}  // namespace rk::kmf
