// rkcalc [--env FILE] COMMAND ARGS...   prints the result text
// rkcalc [--env FILE] --batch           reads COMMAND<TAB>ARGS... lines from standard
//                                       input, prints one JSON string literal per line
//                                       (null for a line that fails)
// Arguments and input are UTF-8; the runtime works on Windows-1252 texts.
#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "runtime/core/environment_file.h"
#include "runtime/core/error_state.h"
#include "runtime/platform/code_page.h"
#include "tools/common/json_string.h"
#include "tools/common/tool_arguments.h"
#include "tools/rkcalc/command_table.h"

namespace rk::rkcalc {
namespace {

constexpr int kUsageError = 2;
constexpr int kCommandFailed = 1;

void PrintUsage() {
  std::cerr << "usage: rkcalc [--env FILE] COMMAND ARGS...\n"
               "       rkcalc [--env FILE] --batch\n"
               "commands:\n";
  for (const Command* command : AllCommands()) std::cerr << "  " << command->usage << "\n";
}

std::vector<std::string> SplitTabs(const std::string& line, size_t fields) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (parts.size() + 1 < fields) {
    size_t tab = line.find('\t', start);
    if (tab == std::string::npos) break;
    parts.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  parts.push_back(line.substr(start));
  return parts;
}

std::string RunBatchLine(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::string name = line.substr(0, line.find('\t'));
  const Command* command = FindCommand(name);
  if (command == nullptr) {
    std::cerr << "rkcalc: unknown command '" << name << "'\n";
    return "null";
  }
  std::vector<std::string> parts = SplitTabs(line, command->argumentCount + 1);
  if (parts.size() != command->argumentCount + 1) {
    std::cerr << "rkcalc: usage: " << command->usage << "\n";
    return "null";
  }
  std::vector<std::string> args;
  for (size_t i = 1; i < parts.size(); ++i) args.push_back(platform::Utf8ToAnsi(parts[i]));
  CommandResult result = command->run(args);
  if (!result.ok) {
    std::cerr << "rkcalc: " << platform::AnsiToUtf8(result.text) << "\n";
    return "null";
  }
  return tools::JsonString(result.text);
}

int RunBatch() {
  std::string line;
  while (std::getline(std::cin, line)) std::cout << RunBatchLine(line) << "\n";
  return 0;
}

int RunOne(const std::vector<std::string>& words) {
  const Command* command = FindCommand(words[0]);
  if (command == nullptr || words.size() != command->argumentCount + 1) {
    PrintUsage();
    return kUsageError;
  }
  std::vector<std::string> args;
  for (size_t i = 1; i < words.size(); ++i) args.push_back(platform::Utf8ToAnsi(words[i]));
  CommandResult result = command->run(args);
  (result.ok ? std::cout : std::cerr) << platform::AnsiToUtf8(result.text) << "\n";
  return result.ok ? 0 : kCommandFailed;
}

// The command's own arguments may begin with "-" (a negative number, a picture):
// options come before the command.
const tools::ArgumentRules kRules{.flags = {"--batch"}, .valued = {"--env"}, .optionsFirst = true};

int Main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  tools::ToolArguments arguments({argv + 1, argv + argc}, kRules);
  const std::vector<std::string>& words = arguments.Words();
  bool batch = arguments.Has("--batch");
  if (arguments.HelpAsked() || !arguments.Problem().empty() || batch == !words.empty()) {
    PrintUsage();
    return kUsageError;
  }
  std::string environmentFile = arguments.Value("--env").value_or("");
  if (!InitializeEnvironment(environmentFile)) {
    std::cerr << "rkcalc: cannot read " << environmentFile << ": " << ErrorName() << "\n";
    return kUsageError;
  }
  return batch ? RunBatch() : RunOne(words);
}

}  // namespace
}  // namespace rk::rkcalc

int main(int argc, char** argv) {
  return rk::rkcalc::Main(argc, argv);
}
