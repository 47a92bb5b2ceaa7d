#include "app/open_data_file.h"

#include <string>

#include "app/program_halt.h"
#include "app/standard_messages.h"
#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/windows/message_box.h"

namespace rk {
namespace {

bool Opened() {
  int32_t code = ErrorCode();
  return code == 0 || code == file_error::kFileAlreadyOpen;
}

void CreateAndOpen(FileDescriptor& file, int32_t mode) {
  CREATE(file);
  if (ErrorCode() != 0) SHOWMESSAGE(4, NAME(file));  // halts
  OPEN(file, mode);
  if (ErrorCode() != 0) SHOWMESSAGE(5, NAME(file));  // halts
}

void RebuildKeys(FileDescriptor& file, int32_t mode) {
  SHOWMESSAGE(2, NAME(file));  // halts unless the answer is Yes
  BUILD(file);
  if (ErrorCode() != 0) SHOWMESSAGE(3, NAME(file));  // halts
  OPEN(file, mode);
}

}  // namespace

void OPENDATAFILE(FileDescriptor& file, bool createAllowed, bool share, int32_t accessMode) {
  int32_t mode = share ? kSharedAccess : accessMode;
  OPEN(file, mode);
  if (Opened()) return;
  switch (ErrorCode()) {
    case file_error::kFileNotFound:
      if (!createAllowed) SHOWMESSAGE(22, NAME(file));  // halts
      CreateAndOpen(file, mode);
      return;
    case file_error::kInvalidRecordDeclaration:
      SHOWMESSAGE(1, NAME(file));  // halts
      break;
    case file_error::kKeyFileMustBeRebuilt:
      RebuildKeys(file, mode);
      break;
    default:
      break;
  }
  if (Opened()) return;
  if (SHOWMESSAGE(30, NAME(file)) == kButtonOk) HaltProgram("Disk Error");
}

}  // namespace rk
