// Reads a definition source (JSON, one file per definition resource; the format is
// described in docs/definition-sources.md) into a definition tree, checking every
// member. A mistake is reported as "FILE: STRUCTURE/control N (KIND): problem".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/windows/definition_tree.h"

namespace rk {

struct DefinitionSource {
  Definition definition;
  // Per structure, the "variable" names of its bound descriptors in binding order
  // ("" where the source names none). Not stored in the compiled definition.
  std::vector<std::vector<std::string>> variables;
};

// `fileName` names the source in messages; when it ends in ".json" its stem must
// equal the resource name.
std::optional<DefinitionSource> ParseDefinitionSource(std::string_view json,
                                                      std::string_view fileName,
                                                      std::string& error);

std::optional<DefinitionSource> LoadDefinitionSource(const std::filesystem::path& path,
                                                     std::string& error);

}  // namespace rk
