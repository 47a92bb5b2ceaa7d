#include "tools/common/tool_arguments.h"

#include <algorithm>

namespace rk::tools {

namespace {

bool Listed(const std::vector<std::string_view>& names, std::string_view name) {
  return std::ranges::find(names, name) != names.end();
}

// "-" alone names standard input or output, as a word.
bool IsOption(std::string_view argument) {
  return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

ToolArguments::ToolArguments(std::span<char* const> arguments, const ArgumentRules& rules) {
  Read(arguments, rules);
}

void ToolArguments::Read(std::span<char* const> arguments, const ArgumentRules& rules) {
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    optionsEnded = optionsEnded || (rules.optionsFirst && !words_.empty());
    if (optionsEnded || !IsOption(argument)) {
      words_.emplace_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      helpAsked_ = true;
    } else if (Listed(rules.flags, argument)) {
      options_.emplace_back(argument, std::string());
    } else if (!Listed(rules.valued, argument)) {
      if (problem_.empty()) problem_ = "unknown option " + std::string(argument);
    } else if (i + 1 == arguments.size()) {
      if (problem_.empty()) problem_ = std::string(argument) + " needs a value";
    } else {
      options_.emplace_back(argument, arguments[++i]);
    }
  }
}

bool ToolArguments::Has(std::string_view flag) const {
  return std::ranges::any_of(options_, [&](const auto& option) { return option.first == flag; });
}

// The last one given wins, as a later setting overrides an earlier one.
std::optional<std::string> ToolArguments::Value(std::string_view option) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return std::nullopt;
}

}  // namespace rk::tools
