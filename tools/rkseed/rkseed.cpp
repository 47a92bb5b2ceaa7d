// rkseed DIR [options]: creates the six files of the collection in DIR, filled
// with generated records. The options are listed in kUsage.
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "tools/common/tool_arguments.h"
#include "tools/rkseed/collection_seeder.h"

namespace {

constexpr std::string_view kUsage =
    "usage: rkseed DIR [--tapes N] [--items-per-tape M] [--videos V] [--cast-per-video C]\n"
    "                  [--tapes-only] [--seed S]\n"
    "Creates the six files of the collection in DIR, replacing what they held, filled\n"
    "with generated records; the same options give the same files.\n"
    "  --tapes N           tapes in HTAPES (default 50, at most 5000000); tapes past\n"
    "                      32767 have serial 0, so HTA:SERIAL_NO leaves them out\n"
    "  --items-per-tape M  items in ITEMS for each tape up to 32767 (default 6)\n"
    "  --videos V          videos in VIDEOS (default 40, at most 32767)\n"
    "  --cast-per-video C  performers in CAST for each video (default 4)\n"
    "  --tapes-only        no items, videos or cast (--items-per-tape 0 --videos 0,\n"
    "                      whatever else is given)\n"
    "  --seed S            the seed of the generated values (default 1)\n"
    "  --help              this text\n";

// Serial numbers are SHORT fields.
constexpr int32_t kMaxVideos = rk::seed::kLastSerial;
// The load of a file is one transaction, held in memory until it commits.
constexpr int32_t kMaxTapes = 5000000;

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && out >= 0;
}

const rk::tools::ArgumentRules kRules{
    .flags = {"--tapes-only"},
    .valued = {"--tapes", "--items-per-tape", "--videos", "--cast-per-video", "--seed"},
    .optionsFirst = false};

// Reads the option `name`, when given, into `out`; answers what is wrong with it.
template <typename T>
std::string ReadNumber(const rk::tools::ToolArguments& arguments, std::string_view name, T& out) {
  std::optional<std::string> value = arguments.Value(name);
  if (!value || ParseNumber(*value, out)) return {};
  return std::string(name) + " wants a number, not " + *value;
}

// Reads the command line into `options`; answers what is wrong with it, or nothing.
std::string ParseOptions(const rk::tools::ToolArguments& arguments,
                         rk::seed::SeedOptions& options) {
  if (!arguments.Problem().empty()) return arguments.Problem();
  if (arguments.Words().empty()) return "no folder given";
  if (arguments.Words().size() > 1) return "one folder only, not " + arguments.Words()[1];
  options.directory = arguments.Words()[0];
  for (std::string problem : {ReadNumber(arguments, "--tapes", options.tapes),
                              ReadNumber(arguments, "--items-per-tape", options.itemsPerTape),
                              ReadNumber(arguments, "--videos", options.videos),
                              ReadNumber(arguments, "--cast-per-video", options.castPerVideo),
                              ReadNumber(arguments, "--seed", options.seed)}) {
    if (!problem.empty()) return problem;
  }
  if (arguments.Has("--tapes-only")) {
    options.itemsPerTape = 0;
    options.videos = 0;
  }
  if (options.tapes > kMaxTapes) return "--tapes is at most " + std::to_string(kMaxTapes);
  if (options.videos > kMaxVideos) return "--videos is at most " + std::to_string(kMaxVideos);
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  rk::tools::ToolArguments arguments({argv + 1, argv + argc}, kRules);
  if (arguments.HelpAsked()) {
    std::cout << kUsage;
    return 0;
  }
  rk::seed::SeedOptions options;
  if (std::string problem = ParseOptions(arguments, options); !problem.empty()) {
    std::cerr << "rkseed: " << problem << "\n" << kUsage;
    return 2;
  }
  return rk::seed::SeedCollection(options, std::cerr) == 0 ? 0 : 1;
}
