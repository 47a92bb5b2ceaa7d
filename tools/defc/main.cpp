// defc: the definition compiler. Compiles one definition source (JSON) into the
// stored definition that the build embeds as a "DABDUMP" resource.
//
//   defc SOURCE.json OUTPUT        compile; on a mistake print it, write nothing
//   defc --bindings SOURCE.json    list each structure's variables in binding order
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/windows/definition_writer.h"
#include "tools/common/tool_arguments.h"
#include "tools/defc/definition_source.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: defc SOURCE.json OUTPUT\n"
               "       defc --bindings SOURCE.json\n");
  return 2;
}

int PrintBindings(const rk::DefinitionSource& source) {
  for (size_t i = 0; i < source.definition.structures.size(); ++i) {
    std::printf("%s\n", source.definition.structures[i].label.c_str());
    int index = 0;
    for (const std::string& variable : source.variables[i]) {
      std::printf("  %2d  %s\n", ++index, variable.empty() ? "(unnamed)" : variable.c_str());
    }
  }
  return 0;
}

// Writes beside the output and renames, so a failed run never leaves half a file.
bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::path temporary = path;
  temporary += ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::error_code failure;
  std::filesystem::rename(temporary, path, failure);
  return !failure;
}

}  // namespace

int main(int argc, char** argv) {
  rk::tools::ToolArguments arguments({argv + 1, argv + argc},
                                     {.flags = {"--bindings"}, .valued = {}, .optionsFirst = true});
  const std::vector<std::string>& words = arguments.Words();
  bool bindings = arguments.Has("--bindings");
  if (!arguments.Problem().empty() || arguments.HelpAsked() || words.size() != (bindings ? 1 : 2))
    return Usage();
  std::string error;
  std::optional<rk::DefinitionSource> source = rk::LoadDefinitionSource(words[0], error);
  if (!source) {
    std::fprintf(stderr, "%s\n", error.c_str());
    if (!bindings) std::filesystem::remove(words[1]);
    return 1;
  }
  if (bindings) return PrintBindings(*source);
  if (!WriteFile(words[1], rk::WriteDefinitionResource(source->definition))) {
    std::fprintf(stderr, "defc: cannot write %s\n", words[1].c_str());
    return 1;
  }
  return 0;
}
