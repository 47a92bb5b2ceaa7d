// Window and report definitions from any bytes, taken as a resource (tag, NUL,
// blob): they must give a definition or an error text, never a crash or a read
// outside the input. A definition that reads must also store and read back the
// same.
#include <span>
#include <string>

#include "runtime/windows/definition_reader.h"
#include "runtime/windows/definition_writer.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {

int DefinitionInput(const uint8_t* data, size_t size) {
  std::string error;
  std::optional<Definition> definition =
      ReadDefinitionResource(std::span<const uint8_t>(data, size), error);
  if (!definition) {
    if (error.empty()) Broken();
    return 0;
  }
  std::vector<uint8_t> rewritten = WriteDefinitionResource(*definition);
  std::optional<Definition> again = ReadDefinitionResource(rewritten, error);
  if (!again || !(*again == *definition)) Broken();
  return 0;
}

}  // namespace rk::fuzz
