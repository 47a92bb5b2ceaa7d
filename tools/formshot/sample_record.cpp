#include "tools/formshot/sample_record.h"

#include <map>

#include "runtime/core/day_number.h"

namespace rk::formshot {
namespace {

std::string Day(int year, int month, int day) {
  return std::to_string(DateToDay(year, month, day));
}

// A clock time as the runtime keeps it: hundredths of a second since midnight, plus 1.
std::string Clock(int hours, int minutes) {
  return std::to_string((hours * 3600 + minutes * 60) * 100 + 1);
}

const std::map<std::string, std::string, std::less<>>& Values() {
  static const std::map<std::string, std::string, std::less<>> values = {
      // A home tape.
      {"HTA:SERIAL", "12"},
      {"HTA:TITLE", "Holiday 1994 and the Grand Prix"},
      {"HTA:START_DATE", Day(1994, 7, 1)},
      {"HTA:END_DATE", Day(1994, 11, 20)},
      {"HTA:TYPE", "VHS"},
      {"HTA:FORMAT", "PAL"},
      {"HTA:SPEED", "LP"},
      {"HTA:LENGTH", "180"},
      {"HTA:MANUFACTURER", "TDK"},
      {"HTA:NOTES", "Label on the spine is faded.\r\nSecond half recorded in LP."},
      // An item recorded on it.
      {"ITE:SERIAL", "12"},
      {"ITE:DESCRIPTION", "British Grand Prix, Silverstone"},
      {"ITE:DATE", Day(1994, 7, 10)},
      {"ITE:START_TIME", Clock(13, 5)},
      {"ITE:END_TIME", Clock(15, 35)},
      {"ITE:RUNNING_TIME", Clock(2, 30)},
      {"ITE:COUNTER_START", "1250"},
      {"ITE:COUNTER_END", "4780"},
      {"ITE:PROGRAM_SOURCE", "BBC 2"},
      {"ITE:SUBJECT", "MOTOR RACING"},
      {"ITE:ARCHIVE", "1"},
      {"ITE:NOTES", "Missing the first lap."},
      // A commercial video.
      {"VID:SERIAL", "7"},
      {"VID:TITLE", "The Wildlife of the Serengeti"},
      {"VID:NUMBER_OF_TAPES", "2"},
      {"VID:PUBLISHER", "Safari Home Video"},
      {"VID:PUBLISHERS_CATALOGUE_NO", "SHV 1042"},
      {"VID:FORMAT", "VHS"},
      {"VID:RUNNING_TIME", Clock(1, 50)},
      {"VID:CERTIFICATE", "FAMILY"},
      {"VID:PREVIOUSLY_AVAILABLE_AS", "Two television specials"},
      {"VID:STEREO", "1"},
      {"VID:SURROUND_SOUND", "DOLBY"},
      {"VID:BEST_SURROUND_SETTING", "Hall"},
      {"VID:DIRECTOR", "Anna Keller"},
      {"VID:PRODUCER", "Tom Brandt"},
      {"VID:SOUNDTRACK", "Original score"},
      {"VID:DATE_BOUGHT", Day(1995, 3, 18)},
      {"VID:PRICE", "12.99"},
      {"VID:SUBJECT", "NATURE"},
      {"VID:STAR_RATING", "3"},
      {"VID:NOTES", "Boxed set, both tapes in good order."},
      // The lookups and the cast.
      {"SUB:SUBJECT", "NATURE"},
      {"MAN:MANUFACTURER", "TDK"},
      {"CAS:SERIAL", "7"},
      {"CAS:PERFORMER", "Anna Keller"},
      {"CAS:STAR", "NARRATOR"},
  };
  return values;
}

}  // namespace

std::string SampleValue(std::string_view variable) {
  auto found = Values().find(variable);
  return found == Values().end() ? std::string() : found->second;
}

std::vector<std::vector<std::string>> SampleRows(std::string_view queue) {
  if (queue == "manufacturer names") {
    return {{"AGFA"}, {"BASF"}, {"FUJI"}, {"JVC"}, {"MAXELL"}, {"SONY"}, {"TDK"}};
  }
  if (queue == "subject names") {
    return {{"COMEDY"}, {"DOCUMENTARY"}, {"MOTOR RACING"}, {"MUSIC"}, {"NATURE"}};
  }
  if (queue == "compilation rows") {
    return {
        {Day(1994, 7, 1), Clock(20, 0), Clock(21, 30), "Holiday video: the coast", "CAMCORDER"},
        {Day(1994, 7, 10), Clock(13, 5), Clock(15, 35), "British Grand Prix, Silverstone", "BBC 2"},
        {Day(1994, 11, 20), Clock(19, 0), Clock(19, 45), "Firework night", "CAMCORDER"}};
  }
  if (queue == "item rows") {
    return {{"12", Day(1994, 7, 10), "British Grand Prix, Silverstone", "BBC 2"}};
  }
  if (queue == "cast rows") {
    return {{"Anna Keller", "NARRATOR"}, {"The Serengeti lions", "THEMSELVES"}};
  }
  return {};
}

}  // namespace rk::formshot
