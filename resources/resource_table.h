// The program's own resource table: the compiled window definitions (type
// "DABDUMP") and the icons (type "ICON", named by their file names), embedded in
// the executable at build time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace rk {

struct ResourceEntry {
  const char* name;
  const char* type;
  const uint8_t* begin;
  const uint8_t* end;
  std::span<const uint8_t> bytes() const { return {begin, end}; }
};

// Every embedded resource, in the order the build listed them.
std::span<const ResourceEntry> ProgramResources();

// The bytes of the resource of that name and type; names and types compare
// without regard to case. Nothing when there is no such resource.
std::optional<std::span<const uint8_t>> FindResource(std::string_view name, std::string_view type);

}  // namespace rk
