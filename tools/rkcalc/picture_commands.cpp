// format PICTURE VALUE and deformat PICTURE TEXT. VALUE is the value as the
// runtime holds it: a day number for a date picture, a time value for a time
// picture, a number for a numeric one, a text otherwise.
#include "runtime/core/picture_format.h"
#include "tools/rkcalc/command_table.h"

namespace rk::rkcalc {
namespace {

const CommandRegistrar formatCommand({"format", 2, "format PICTURE VALUE",
                                      [](const std::vector<std::string>& args) {
                                        return CommandResult{true, FormatText(args[1], args[0])};
                                      }});

const CommandRegistrar deformatCommand({"deformat", 2, "deformat PICTURE TEXT",
                                        [](const std::vector<std::string>& args) {
                                          return CommandResult{true, Deformat(args[1], args[0])};
                                        }});

}  // namespace
}  // namespace rk::rkcalc
