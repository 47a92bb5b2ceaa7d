// The registry of every file open in the program, one entry per open file and
// thread, with what its driver can do for transactions. Drivers' files enter it
// after a successful OPEN or SHARE and leave it at CLOSE.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/files/file_descriptor.h"

namespace rk {

struct DriverRegistration;

struct OpenFileEntry {
  bool loggedOut = false;  // takes part in the active transaction
  FileDescriptor* file = nullptr;
  int32_t thread = -1;  // the opening thread for a per-thread file, else -1
  bool canLogout = false;
  bool canRollback = false;
  bool canCommit = false;
  bool canLock = false;
  bool canUnlock = false;
};

// Adds the file unless an entry for it (and, per-thread, this thread) exists;
// the capabilities come from the codes the driver declares.
void RegisterOpenFile(FileDescriptor& file, const DriverRegistration& driver);
void UnregisterOpenFile(FileDescriptor& file);
// The entry of the file (for a per-thread file, the calling thread's), or null.
OpenFileEntry* FindOpenFile(const FileDescriptor& file);
// Every entry, oldest first.
std::vector<OpenFileEntry>& OpenFiles();

}  // namespace rk
