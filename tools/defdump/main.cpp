// defdump: prints compiled window and report definitions as indented trees.
//
//   defdump                      every definition embedded in the program
//   defdump NAME [LABEL]         one resource (e.g. REELB022_RSC), or one structure of it
//   defdump --file PATH [LABEL]  a compiled definition file
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/resource_table.h"
#include "runtime/windows/definition_layout.h"
#include "runtime/windows/definition_reader.h"
#include "tools/common/tool_arguments.h"
#include "tools/defdump/definition_dump.h"

namespace {

int Dump(const std::string& name, std::span<const uint8_t> resource, const std::string& label) {
  std::string error;
  std::optional<rk::Definition> definition = rk::ReadDefinitionResource(resource, error);
  if (!definition) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return 1;
  }
  std::printf("%s tag \"%s\" (%zu bytes)\n", name.c_str(), definition->tag.c_str(),
              resource.size());
  bool found = label.empty();
  for (const rk::StructureRecord& structure : definition->structures) {
    if (!label.empty() && structure.label != label) continue;
    found = true;
    std::printf("%s", rk::DumpStructure(structure).c_str());
  }
  if (!found) {
    std::fprintf(stderr, "%s: no structure labelled %s\n", name.c_str(), label.c_str());
    return 1;
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: defdump [NAME [LABEL]]\n"
               "       defdump --file PATH [LABEL]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  rk::tools::ToolArguments arguments({argv + 1, argv + argc},
                                     {.flags = {}, .valued = {"--file"}, .optionsFirst = true});
  const std::vector<std::string>& args = arguments.Words();
  std::optional<std::string> file = arguments.Value("--file");
  if (!arguments.Problem().empty() || arguments.HelpAsked() || args.size() > (file ? 1 : 2))
    return Usage();
  if (file) {
    std::ifstream in(*file, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "defdump: cannot read %s\n", file->c_str());
      return 1;
    }
    std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    return Dump(*file, bytes, args.empty() ? "" : args[0]);
  }
  if (args.empty()) {
    int status = 0;
    for (const rk::ResourceEntry& entry : rk::ProgramResources()) {
      if (entry.type == rk::kDefinitionResourceType) status |= Dump(entry.name, entry.bytes(), "");
    }
    return status;
  }
  std::optional<std::span<const uint8_t>> resource =
      rk::FindResource(args[0], rk::kDefinitionResourceType);
  if (!resource) {
    std::fprintf(stderr, "defdump: no definition resource %s\n", args[0].c_str());
    return 1;
  }
  return Dump(args[0], *resource, args.size() == 2 ? args[1] : "");
}
