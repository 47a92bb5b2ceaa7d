// Finding a definition by tag and label across the loaded modules: the program's
// own resource table first, then any module registered after it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rk {

// A module whose resources can be searched by name and type.
struct ResourceModule {
  std::string name;
  std::function<std::optional<std::span<const uint8_t>>(std::string_view name,
                                                        std::string_view type)>
      find;
};

// Modules are searched in registration order after the program's own.
void RegisterResourceModule(ResourceModule module);
void ClearRegisteredResourceModules();

struct FoundDefinition {
  std::vector<uint8_t> buffer;  // two zero bytes, then the blob
  int32_t offset = 0;           // of the WINDOW or REPORT record
  std::string module;           // the module that held it
};

// The tag's part after its last "$" plus "_RSC" names the resource; the first
// module whose resource carries exactly this tag and a structure labelled `label`
// gives the definition. Nothing when there is none. A damaged resource is passed
// over, and the reason is left in `problem` (when given) for the caller's message.
std::optional<FoundDefinition> FindDefinition(std::string_view tag, std::string_view label,
                                              std::string* problem = nullptr);

}  // namespace rk
