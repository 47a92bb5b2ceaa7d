// The command line of a tool, read the same way by every tool: words in order,
// and options that begin with "-", either alone ("--csv") or followed by their
// value ("--env FILE"). "-h" and "--help" ask for the usage; "--" ends the
// options, so that a word may begin with "-" after it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rk::tools {

struct ArgumentRules {
  std::vector<std::string_view> flags;   // options that stand alone
  std::vector<std::string_view> valued;  // options followed by their value
  // Options only before the first word: for a tool whose words are values that
  // may begin with "-" themselves (a negative number, a picture's text).
  bool optionsFirst = false;
};

class ToolArguments {
 public:
  // `arguments` without the program's name (argv + 1 to argv + argc).
  ToolArguments(std::span<char* const> arguments, const ArgumentRules& rules);

  bool HelpAsked() const { return helpAsked_; }
  // What is wrong with the command line ("unknown option --x", "--env needs a
  // value"); empty when nothing is.
  const std::string& Problem() const { return problem_; }
  bool Has(std::string_view flag) const;
  std::optional<std::string> Value(std::string_view option) const;
  const std::vector<std::string>& Words() const { return words_; }

 private:
  void Read(std::span<char* const> arguments, const ArgumentRules& rules);

  std::vector<std::pair<std::string, std::string>> options_;
  std::vector<std::string> words_;
  std::string problem_;
  bool helpAsked_ = false;
};

}  // namespace rk::tools
