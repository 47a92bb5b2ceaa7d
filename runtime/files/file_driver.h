// What a file driver supplies to the dispatcher: its registration record, its
// limits, the making of its state block and the handler of its operations.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "runtime/files/file_descriptor.h"
#include "runtime/files/file_state.h"

namespace rk {

// The static record by which a driver answers the query word "REGISTER".
struct DriverRegistration {
  const char* query = "REGISTER";
  // The codes the driver declares: one byte holding the count less one, then the codes.
  std::span<const uint8_t> codes;
  // The value types it stores: one byte count, then the type codes.
  std::span<const uint8_t> types;
  const char* name = "";  // "KELDMARK"
  const char* library = "";
  const char* banner = "";
  DriverEntry entry = nullptr;
};

// Whether the driver declares the code in its registration.
bool DriverDeclares(const DriverRegistration& registration, int32_t code);
// Whether the driver stores fields of the type.
bool DriverStoresType(const DriverRegistration& registration, uint8_t type);

// The dispatcher moves the state bits of the precondition table around every
// handler, and after a successful OPEN or SHARE also sets the write-access and
// exclusive bits from the access mode and enters the file in the open-files
// registry (CLOSE removes it); handlers need not do any of this.
//
// One operation as the driver's handler sees it, after the dispatcher has taken
// the arguments apart and popped the texts.
struct FileCall {
  int32_t code = 0;
  FileDescriptor* file = nullptr;
  FileState* state = nullptr;
  KeyDescriptor* key = nullptr;  // key operations only
  int32_t numbers[3] = {0, 0, 0};
  std::string texts[2];    // popped texts; code 34: old name, then new name
  std::string textResult;  // pushed for the codes that answer a text
  int32_t result = 0;      // the number result
};

// Handler answers besides an error code.
inline constexpr int32_t kSuccess = 0;
inline constexpr int32_t kSilentFailure = -1;  // fails without touching the error state

struct FileDriver {
  const DriverRegistration* registration = nullptr;
  uint32_t maxRecordLength = 0;
  // Makes the driver's (empty) state block; the dispatcher fills the common part.
  std::unique_ptr<FileState> (*newState)() = nullptr;
  // Runs one operation; answers kSuccess, kSilentFailure or an error code (80
  // "Unsupported File Driver Function" for a code without handler). SystemFailureCode() reports the
  // OS last error.
  int32_t (*handle)(FileCall& call) = nullptr;
};

// 300 + the operating system's last error: how a handler reports an OS failure.
int32_t SystemFailureCode();

// SEND(file, "REGISTER"), the same in every driver: when the text is the query
// word, answers the driver's name, asks for a temporary state block to be
// discarded, and returns true. Any other text is left to the driver.
bool AnswerRegisterQuery(const DriverRegistration& registration, FileCall& call);

}  // namespace rk
