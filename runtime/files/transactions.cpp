#include "runtime/files/transactions.h"

#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/open_files_registry.h"

namespace rk {
namespace {

bool transactionActive = false;

enum class Finish { kCommit, kRollback };

// Commits or rolls back every file marked as taking part, newest entry first.
void FinishTransaction(Finish how) {
  transactionActive = false;
  int32_t firstError = 0;
  FileObject* firstErrorFile = nullptr;
  std::string firstErrorName;
  auto& entries = OpenFiles();
  for (size_t i = entries.size(); i-- > 0;) {
    OpenFileEntry& entry = entries[i];
    if (!entry.loggedOut) continue;
    FileDescriptor& file = *entry.file;
    if (how == Finish::kCommit && entry.canCommit) COMMIT(file);
    if (how == Finish::kRollback && entry.canRollback) ROLLBACK(file);
    if (ErrorCode() != 0 && firstError == 0) {
      firstError = ErrorCode();
      firstErrorFile = ErrorFile();
      firstErrorName = ErrorName();
    }
    if (entry.canUnlock) UNLOCK(file);
    entry.loggedOut = false;
  }
  if (firstError != 0) PostFileError(firstError, firstErrorFile, firstErrorName);
}

// Locks the file and starts its driver's transaction; false when it cannot.
bool LogOutFile(FileDescriptor& file, int32_t seconds) {
  OpenFileEntry* entry = FindOpenFile(file);
  if (!entry) return false;
  if (entry->canLock) {
    ClearFileError();
    LOCK(file, seconds);
    if (ErrorCode() != 0 && ErrorCode() != file_error::kUnsupported) return false;
  }
  bool loggedOut = false;
  if (entry->canLogout) {
    ClearFileError();
    LOGOUT(file);
    loggedOut = ErrorCode() == 0;
  }
  if (!loggedOut) {
    if (entry->canUnlock) UNLOCK(file);
    return false;
  }
  entry->loggedOut = true;
  return true;
}

}  // namespace

void LOGOUT(int32_t seconds, std::span<FileDescriptor* const> files) {
  if (transactionActive) {
    PostFileError(file_error::kLogoutAlreadyActive, nullptr, {});
    return;
  }
  for (FileDescriptor* file : files) {
    if (!file || !file->state) continue;  // never used: nothing to protect
    if (!LogOutFile(*file, seconds)) {
      FinishTransaction(Finish::kRollback);
      PostFileError(file_error::kUnableToLogTransaction, file, FileNameText(*file));
      return;
    }
  }
  ClearFileError();
  transactionActive = true;
}

void LOGOUT(int32_t seconds, std::initializer_list<FileDescriptor*> files) {
  LOGOUT(seconds, std::span<FileDescriptor* const>(files.begin(), files.size()));
}

void COMMIT() {
  if (transactionActive) FinishTransaction(Finish::kCommit);
}

void ROLLBACK() {
  if (transactionActive) FinishTransaction(Finish::kRollback);
}

bool TransactionActive() {
  return transactionActive;
}

}  // namespace rk
