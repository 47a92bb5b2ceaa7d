#include "resources/resource_table.h"

#include <algorithm>
#include <cctype>

namespace rk {

// Generated at build time (embedded_resources.cpp).
extern const ResourceEntry kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

}  // namespace

std::span<const ResourceEntry> ProgramResources() {
  return {kEmbeddedResources, kEmbeddedResourceCount};
}

std::optional<std::span<const uint8_t>> FindResource(std::string_view name, std::string_view type) {
  for (const ResourceEntry& entry : ProgramResources()) {
    if (SameIgnoringCase(entry.name, name) && SameIgnoringCase(entry.type, type)) {
      return entry.bytes();
    }
  }
  return std::nullopt;
}

}  // namespace rk
