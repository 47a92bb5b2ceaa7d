// libFuzzer entry for the definition reader: any bytes, taken as a resource (tag,
// NUL, blob), must give a definition or an error text, never a crash or a read
// outside the input. A definition that reads must also store and read back the
// same.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "runtime/windows/definition_reader.h"
#include "runtime/windows/definition_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  std::optional<rk::Definition> definition =
      rk::ReadDefinitionResource(std::span<const uint8_t>(data, size), error);
  if (!definition) {
    if (error.empty()) std::abort();
    return 0;
  }
  std::vector<uint8_t> rewritten = rk::WriteDefinitionResource(*definition);
  std::optional<rk::Definition> again = rk::ReadDefinitionResource(rewritten, error);
  if (!again || !(*again == *definition)) std::abort();
  return 0;
}
