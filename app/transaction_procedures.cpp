#include "app/transaction_procedures.h"

#include <string>

#include "app/standard_messages.h"
#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/transactions.h"

namespace rk {
namespace {

constexpr int32_t kTransactionWait = 2;  // the lock time-out LOGOUT is given

struct TransactionFile {
  CollectionFileId file;
  const char* rereadKey;  // the unique key that finds the record again before a delete
};

constexpr TransactionFile kTransactionFiles[] = {
    {CollectionFileId::kHtapes, "HTA:SERIAL_NO"}, {CollectionFileId::kItems, "ITE:SERIAL_NO"},
    {CollectionFileId::kVideos, "VID:SERIALN"},   {CollectionFileId::kCast, "CAS:SERIALN"},
    {CollectionFileId::kSubject, "SUB:SUBJECTS"}, {CollectionFileId::kManufacturer, "MAN:MNFACT"},
};

const TransactionFile& EntryOf(CollectionFileId file) {
  for (const TransactionFile& entry : kTransactionFiles) {
    if (entry.file == file) return entry;
  }
  return kTransactionFiles[0];
}

// Begins the transaction over the file alone; on failure says so with the
// operation's name. A LOGOUT that fails has already given back what it began,
// and one refused because a transaction is active (56) refers to another
// thread's transaction, which a ROLLBACK here would undo: nothing is rolled
// back.
bool Begin(DeclaredFile& file, const char* operation) {
  FileDescriptor* files[] = {&file.file()};
  LOGOUT(kTransactionWait, files);
  if (ErrorCode() == 0) return true;
  SHOWMESSAGE(34, operation, file.label());
  return false;
}

// The operation went through; what is left is the commit. A commit that fails
// is reported like the operation failing, never as success.
int32_t Finish(int32_t failureMessage, DeclaredFile& file) {
  COMMIT();
  if (ErrorCode() == 0) return kTransactionCommitted;
  SHOWMESSAGE(failureMessage, file.label());
  ROLLBACK();
  return kTransactionFailed;
}

}  // namespace

int32_t TransactionUpdate(CollectionFileId id) {
  DeclaredFile& file = CollectionFile(id);
  if (!Begin(file, "Update")) return kTransactionFailed;
  PUT(file.file());
  if (ErrorCode() != 0) {
    bool overtaken = ErrorCode() == file_error::kChangedByAnotherStation;
    SHOWMESSAGE(15, overtaken ? std::string("Record Changed by Another Station") : file.label());
    ROLLBACK();
    return kTransactionFailed;
  }
  return Finish(15, file);
}

// The record's place in the key is taken before the transaction begins; the
// read again is not checked, so a record changed in its key or deleted by
// another station shows as the delete failing.
int32_t TransactionDelete(CollectionFileId id) {
  DeclaredFile& file = CollectionFile(id);
  KeyDescriptor& key = *file.key(EntryOf(id).rereadKey);
  std::string position = POSITION(key);
  if (!Begin(file, "Delete")) return kTransactionFailed;
  REGET(key, position);
  DELETE(file.file());
  if (ErrorCode() != 0) {
    SHOWMESSAGE(17, file.label());
    ROLLBACK();
    return kTransactionFailed;
  }
  return Finish(17, file);
}

int32_t CallTransactionProcedure(std::string_view name) {
  constexpr std::string_view kUpdate = "TXUPDATE:";
  constexpr std::string_view kDelete = "TXDELETE:";
  bool update = name.starts_with(kUpdate);
  if (!update && !name.starts_with(kDelete)) return kTransactionFailed;
  std::string_view label = name.substr(kUpdate.size());
  for (const TransactionFile& entry : kTransactionFiles) {
    if (CollectionFile(entry.file).label() == label) {
      return update ? TransactionUpdate(entry.file) : TransactionDelete(entry.file);
    }
  }
  return kTransactionFailed;
}

}  // namespace rk
