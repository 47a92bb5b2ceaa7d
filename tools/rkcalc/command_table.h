// The commands of rkcalc. Each command lives in a file of its own and registers
// itself with a static CommandRegistrar, so adding one needs no edit elsewhere.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rk::rkcalc {

struct CommandResult {
  bool ok = true;
  std::string text;  // the result, or the reason of a failure
};

struct Command {
  std::string name;
  // Arguments after the name; the last one takes the rest of a batch line.
  size_t argumentCount = 0;
  std::string usage;  // e.g. "format PICTURE VALUE"
  // Arguments arrive as runtime texts (Windows-1252); so does the result.
  std::function<CommandResult(const std::vector<std::string>&)> run;
};

void RegisterCommand(Command command);
const Command* FindCommand(std::string_view name);
std::vector<const Command*> AllCommands();

struct CommandRegistrar {
  explicit CommandRegistrar(Command command) { RegisterCommand(std::move(command)); }
};

}  // namespace rk::rkcalc
