// rkseed DIR [options]: creates the six files of the collection in DIR, filled
// with generated records. The options are listed in kUsage.
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>

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
    "  --tapes-only        no items, videos or cast (--items-per-tape 0 --videos 0)\n"
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

// Reads the options into `options`; answers what is wrong with them, or nothing.
std::string ParseOptions(int argc, char** argv, rk::seed::SeedOptions& options) {
  if (argc < 2 || argv[1][0] == '-') return "no folder given";
  options.directory = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string_view name = argv[i];
    if (name == "--tapes-only") {
      options.itemsPerTape = 0;
      options.videos = 0;
      continue;
    }
    bool known = name == "--tapes" || name == "--items-per-tape" || name == "--videos" ||
                 name == "--cast-per-video" || name == "--seed";
    if (!known) return "unknown option " + std::string(name);
    if (i + 1 >= argc) return std::string(name) + " needs a value";
    std::string_view value = argv[++i];
    bool ok = name == "--tapes"            ? ParseNumber(value, options.tapes)
              : name == "--items-per-tape" ? ParseNumber(value, options.itemsPerTape)
              : name == "--videos"         ? ParseNumber(value, options.videos)
              : name == "--cast-per-video" ? ParseNumber(value, options.castPerVideo)
                                           : ParseNumber(value, options.seed);
    if (!ok) return std::string(name) + " wants a number, not " + std::string(value);
  }
  if (options.tapes > kMaxTapes) return "--tapes is at most " + std::to_string(kMaxTapes);
  if (options.videos > kMaxVideos) return "--videos is at most " + std::to_string(kMaxVideos);
  return {};
}

bool WantsHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (WantsHelp(argc, argv)) {
    std::cout << kUsage;
    return 0;
  }
  rk::seed::SeedOptions options;
  if (std::string problem = ParseOptions(argc, argv, options); !problem.empty()) {
    std::cerr << "rkseed: " << problem << "\n" << kUsage;
    return 2;
  }
  return rk::seed::SeedCollection(options, std::cerr) == 0 ? 0 : 1;
}
