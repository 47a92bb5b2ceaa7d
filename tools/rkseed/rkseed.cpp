// rkseed DIR [--tapes N] [--items-per-tape M] [--videos V] [--cast-per-video C]
//            [--seed S]
// Creates the six files of the collection in DIR, filled with generated records.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

#include "tools/rkseed/collection_seeder.h"

namespace {

constexpr std::string_view kUsage =
    "usage: rkseed DIR [--tapes N] [--items-per-tape M] [--videos V] [--cast-per-video C] "
    "[--seed S]\n";

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && out >= 0;
}

bool ParseOptions(int argc, char** argv, rk::seed::SeedOptions& options) {
  if (argc < 2 || argv[1][0] == '-') return false;
  options.directory = argv[1];
  for (int i = 2; i < argc; i += 2) {
    std::string_view name = argv[i];
    if (i + 1 >= argc) return false;
    std::string_view value = argv[i + 1];
    bool ok = name == "--tapes"            ? ParseNumber(value, options.tapes)
              : name == "--items-per-tape" ? ParseNumber(value, options.itemsPerTape)
              : name == "--videos"         ? ParseNumber(value, options.videos)
              : name == "--cast-per-video" ? ParseNumber(value, options.castPerVideo)
              : name == "--seed"           ? ParseNumber(value, options.seed)
                                           : false;
    if (!ok) return false;
  }
  // Serial numbers are SHORT fields.
  return options.tapes <= 32767 && options.videos <= 32767;
}

}  // namespace

int main(int argc, char** argv) {
  rk::seed::SeedOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }
  return rk::seed::SeedCollection(options, std::cerr) == 0 ? 0 : 1;
}
