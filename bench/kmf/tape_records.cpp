#include "bench/kmf/tape_records.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace rk::bench {
namespace {

const char* const kWords[] = {
    "NEWS",    "FILM",    "MATCH",   "CONCERT", "NATURE", "SERIES", "COMEDY",  "DRAMA",
    "FINAL",   "WEEKEND", "SPECIAL", "OPERA",   "RACE",   "QUIZ",   "CARTOON", "HISTORY",
    "SCIENCE", "TRAVEL",  "COOKING", "GARDEN",  "MUSIC",  "SPORT",  "WINTER",  "SUMMER",
};
const char* const kTypes[] = {"VHS", "SVHS", "VHSC", "BETAMAX", "8mm", "Hi 8mm", "OTHER"};
const char* const kMakers[] = {"AGFA", "BASF", "FUJI", "JVC", "MAXELL", "SONY", "TDK", "SCOTCH"};
const char* const kFormats[] = {"PAL", "NTSC 3.58", "NTSC 4.43", "SECAM", "MESECAM"};
const char* const kSpeeds[] = {"SP", "LP", "SLP"};
const char* const kLengths[] = {"30", "60", "90", "120", "180", "240", "300"};

template <size_t N>
const char* Pick(std::mt19937& rng, const char* const (&choices)[N]) {
  return choices[rng() % N];
}

std::string Title(std::mt19937& rng) {
  std::string title;
  int words = 2 + static_cast<int>(rng() % 4);
  for (int w = 0; w < words; ++w) {
    if (w > 0) title += ' ';
    title += Pick(rng, kWords);
  }
  title += ' ' + std::to_string(rng() % 1000);
  return title;
}

}  // namespace

std::vector<Tape> MakeTapes(int32_t first, int32_t count, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<Tape> tapes(count);
  for (int32_t i = 0; i < count; ++i) {
    Tape& tape = tapes[i];
    tape.serial = first + i;
    tape.title = Title(rng);
    tape.startDate = 65000 + static_cast<int32_t>(rng() % 12000);  // 1979 .. 2012
    tape.endDate = tape.startDate + static_cast<int32_t>(rng() % 400);
    tape.type = Pick(rng, kTypes);
    tape.manufacturer = Pick(rng, kMakers);
    tape.format = Pick(rng, kFormats);
    tape.speed = Pick(rng, kSpeeds);
    tape.length = Pick(rng, kLengths);
  }
  return tapes;
}

std::vector<int32_t> RandomSerials(int32_t highest, int32_t count, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<int32_t> serials(count);
  for (int32_t& serial : serials) serial = 1 + static_cast<int32_t>(rng() % highest);
  return serials;
}

std::vector<std::pair<int32_t, std::string>> Retitles(int32_t highest, int32_t count,
                                                      uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<int32_t> serials(highest);
  std::iota(serials.begin(), serials.end(), 1);
  std::shuffle(serials.begin(), serials.end(), rng);
  std::vector<std::pair<int32_t, std::string>> changes;
  for (int32_t i = 0; i < count; ++i) changes.emplace_back(serials[i], Title(rng));
  return changes;
}

}  // namespace rk::bench
