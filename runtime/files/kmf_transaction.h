// LOGOUT, COMMIT and ROLLBACK across KMF files, with the transaction-control
// file that makes a commit of several files all-or-nothing.
//
// COMMIT of several changed files: a transaction record (key: the time stamp in
// seconds, 4 bytes big-endian, raised until unused) goes into the control file,
// which is written back; each file gets a transaction marker (0xFF, the 4-byte
// transaction key; data: the control file's name) and phase one of its
// write-back. Removing the transaction record from the control file is the commit
// point; phase two follows in every file, then the markers are removed again.
// A crash before the commit point leaves markers whose transaction is still in
// the control file: recovery abandons those pending areas.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/files/kmf_file.h"

namespace rk::kmf {

void SetControlFileName(const std::string& name);  // "TCF="
const std::string& ControlFileName();              // default "keldmark.tcf"

// Adds the file to the transaction (once); its changes stay in the cache.
void JoinTransaction(File* file);
bool InTransaction(const File* file);
// Returns 0 or an error code (kOsFailure with the OS last error, 48 "Unable To Log
// Transaction" when the control file cannot be used).
int32_t CommitTransaction();
void RollbackTransaction();

// Recovery's question: does the control file still hold the transaction record?
// (A missing or unreadable control file holds nothing.)
bool TransactionStillOpen(const std::string& controlFile, uint32_t key);

}  // namespace rk::kmf
