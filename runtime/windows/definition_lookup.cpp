#include "runtime/windows/definition_lookup.h"

#include <cctype>

#include "resources/resource_table.h"
#include "runtime/windows/definition_layout.h"
#include "runtime/windows/definition_reader.h"

namespace rk {
namespace {

std::vector<ResourceModule>& RegisteredModules() {
  static std::vector<ResourceModule> modules;
  return modules;
}

std::vector<ResourceModule> ModulesInSearchOrder() {
  std::vector<ResourceModule> modules = {{"program", FindResource}};
  const std::vector<ResourceModule>& registered = RegisteredModules();
  modules.insert(modules.end(), registered.begin(), registered.end());
  return modules;
}

// The definition in one module's resource, if its tag and a label match.
std::optional<FoundDefinition> FindInResource(std::span<const uint8_t> resource,
                                              std::string_view tag, std::string_view label,
                                              const std::string& resourceName,
                                              std::string* problem) {
  FoundDefinition found;
  std::string storedTag;
  std::string error;
  if (!SplitDefinitionResource(resource, storedTag, found.buffer, error)) {
    if (problem) *problem = resourceName + ": " + error;
    return std::nullopt;
  }
  if (storedTag != tag) return std::nullopt;
  std::optional<int32_t> offset = FindStructureOffset(found.buffer, label, error);
  if (!offset) {
    if (problem) *problem = resourceName + ": " + error;
    return std::nullopt;
  }
  if (*offset == 0) return std::nullopt;
  found.offset = *offset;
  return found;
}

}  // namespace

void RegisterResourceModule(ResourceModule module) {
  RegisteredModules().push_back(std::move(module));
}

void ClearRegisteredResourceModules() {
  RegisteredModules().clear();
}

std::optional<FoundDefinition> FindDefinition(std::string_view tag, std::string_view label,
                                              std::string* problem) {
  size_t dollar = tag.rfind('$');
  if (dollar == std::string_view::npos) return std::nullopt;
  // Resource names compare without regard to case; the upper-case form is how the
  // resources are named and how a damaged one is reported.
  std::string resourceName = std::string(tag.substr(dollar + 1)) + "_RSC";
  for (char& c : resourceName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const ResourceModule& module : ModulesInSearchOrder()) {
    std::optional<std::span<const uint8_t>> resource =
        module.find(resourceName, kDefinitionResourceType);
    if (!resource) continue;
    std::optional<FoundDefinition> found =
        FindInResource(*resource, tag, label, resourceName, problem);
    if (found) {
      found->module = module.name;
      return found;
    }
  }
  return std::nullopt;
}

}  // namespace rk
