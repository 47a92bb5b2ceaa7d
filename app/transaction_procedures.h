// The transaction-framed change and delete of one record: TXUPDATE:<file> and
// TXDELETE:<file>, one pair per collection file. Each frames its single
// operation in a transaction of that file alone, reports a failure once with
// its standard message, and rolls back.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/collection_files.h"

namespace rk {

inline constexpr int32_t kTransactionCommitted = 0;
inline constexpr int32_t kTransactionFailed = 1;

// PUTs the file's record buffer over its current record.
int32_t TransactionUpdate(CollectionFileId file);
// Deletes the file's current record, found again by its unique key.
int32_t TransactionDelete(CollectionFileId file);

// Calls the procedure of that name ("TXUPDATE:HTAPES", "TXDELETE:videos");
// an unknown name fails without touching any file.
int32_t CallTransactionProcedure(std::string_view name);

}  // namespace rk
