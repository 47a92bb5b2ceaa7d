// The five report procedures as rows of one table.

#include "app/report_spec.h"

namespace rk {
namespace {

constexpr int32_t kFieldsAndNotes[] = {1, 2};
constexpr int32_t kSecondBand[] = {2};

constexpr const char* kTapeBindings[] = {
    "HTA:SERIAL",       "HTA:TITLE",  "HTA:START_DATE", "HTA:END_DATE", "HTA:TYPE",
    "HTA:MANUFACTURER", "HTA:FORMAT", "HTA:SPEED",      "HTA:LENGTH",   "HTA:NOTES"};

constexpr const char* kItemBindings[] = {
    "ITE:NOTES",  "HTA:SERIAL",      "HTA:TITLE",         "HTA:START_DATE",  "HTA:END_DATE",
    "HTA:LENGTH", "ITE:DESCRIPTION", "ITE:COUNTER_START", "ITE:COUNTER_END", "ITE:PROGRAM_SOURCE",
    "ITE:DATE",   "ITE:START_TIME",  "ITE:END_TIME",      "ITE:RUNNING_TIME"};

constexpr const char* kVideoBindings[] = {"VID:TITLE",
                                          "VID:SERIAL",
                                          "VID:NUMBER_OF_TAPES",
                                          "VID:PUBLISHER",
                                          "VID:PUBLISHERS_CATALOGUE_NO",
                                          "VID:FORMAT",
                                          "VID:RUNNING_TIME",
                                          "VID:CERTIFICATE",
                                          "VID:SUBJECT",
                                          "VID:DIRECTOR",
                                          "VID:PRODUCER",
                                          "VID:DATE_BOUGHT",
                                          "VID:PRICE",
                                          "VID:STAR_RATING",
                                          "VID:NOTES"};

constexpr const char* kCastBindings[] = {"VID:SERIAL", "VID:TITLE",     "VID:SERIAL",
                                         "VID:TITLE",  "CAS:PERFORMER", "CAS:STAR"};

constexpr ReportSpec kReports[] = {
    {"PRINTHTA:SERIAL_NO", "REELBASE.qvw$reelb003", CollectionFileId::kHtapes, "HTA:SERIAL_NO",
     ReportSource::kFile, kFieldsAndNotes, kTapeBindings},
    {"PRINTHTA:DESCRIPTION", "REELBASE.qvw$reelb004", CollectionFileId::kHtapes, "HTA:DESCRIPTION",
     ReportSource::kFile, kFieldsAndNotes, kTapeBindings},
    {"PRINTITE:SERIAL_NO", "REELBASE.qvw$reelb007", CollectionFileId::kItems, "ITE:SERIAL_NO",
     ReportSource::kItemsWithTape, kSecondBand, kItemBindings},
    {"PRINTVID:SERIALN", "REELBASE.qvw$reelb016", CollectionFileId::kVideos, "VID:SERIALN",
     ReportSource::kFile, kFieldsAndNotes, kVideoBindings},
    {"PRINTCAS:SERIALN", "REELBASE.qvw$reelb019", CollectionFileId::kVideos, "VID:SERIALN",
     ReportSource::kVideosWithCast, kSecondBand, kCastBindings},
};

}  // namespace

std::span<const ReportSpec> ReportSpecs() {
  return kReports;
}

}  // namespace rk
