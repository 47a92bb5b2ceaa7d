#include "tools/rkcalc/command_table.h"

#include <map>

namespace rk::rkcalc {
namespace {

// Filled by static registrars, so it must exist before any of them runs.
std::map<std::string, Command, std::less<>>& Table() {
  static std::map<std::string, Command, std::less<>> table;
  return table;
}

}  // namespace

void RegisterCommand(Command command) {
  std::string name = command.name;
  Table()[name] = std::move(command);
}

const Command* FindCommand(std::string_view name) {
  auto it = Table().find(name);
  return it == Table().end() ? nullptr : &it->second;
}

std::vector<const Command*> AllCommands() {
  std::vector<const Command*> all;
  for (const auto& [name, command] : Table()) all.push_back(&command);
  return all;
}

}  // namespace rk::rkcalc
