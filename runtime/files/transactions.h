// The application's transaction statements over several files: LOGOUT locks each
// listed file and starts its driver's transaction, in order; COMMIT and ROLLBACK
// finish every file taking part, newest first. One transaction at a time in the
// whole program.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "runtime/files/file_descriptor.h"

namespace rk {

// Starts a transaction over the files, waiting at most seconds for each file's
// lock. Files never used are skipped. On failure every file already taking part
// is rolled back and unlocked and 48 "Unable To Log Transaction" is posted; 56
// "LOGOUT Already Active" when a transaction is already active.
void LOGOUT(int32_t seconds, std::span<FileDescriptor* const> files);
void LOGOUT(int32_t seconds, std::initializer_list<FileDescriptor*> files);
// Commit or roll back every file of the transaction and unlock it. Without a
// transaction nothing happens. The first error a file answers is the one left in
// the error state, even when a later file succeeds.
void COMMIT();
void ROLLBACK();

bool TransactionActive();

}  // namespace rk
