// The rows of the form table: one per update procedure, and the child lists
// that three of them show on a tab.

#include "app/form_spec.h"

namespace rk {
namespace {

using File = CollectionFileId;

constexpr const char* kPlainPopup = "|&Insert|&Change|&Delete";
constexpr const char* kPlainPopupEmpty = "|&Insert|~&Change|~&Delete";

// --- The child lists ---

constexpr const char* kCompilationColumns[] = {"ITE:DATE", "ITE:START_TIME", "ITE:END_TIME",
                                               "ITE:DESCRIPTION", "ITE:PROGRAM_SOURCE"};
constexpr const char* kSubjectItemColumns[] = {"ITE:SERIAL", "ITE:DATE", "ITE:DESCRIPTION",
                                               "ITE:PROGRAM_SOURCE"};
constexpr const char* kCastColumns[] = {"CAS:PERFORMER", "CAS:STAR"};

constexpr BrowseOrder kItemsOfTape[] = {
    {"ITE:DATE_KEY", "ITE:SERIAL", "HTA:SERIAL", "ITE:SERIAL = HTA:SERIAL"}};
constexpr BrowseOrder kItemsOfSubject[] = {
    {"ITE:SUBJECTS", "ITE:SUBJECT", "SUB:SUBJECT", "UPPER(ITE:SUBJECT) = UPPER(SUB:SUBJECT)"}};
constexpr BrowseOrder kCastOfVideo[] = {
    {"CAS:SERIALN", "CAS:SERIAL", "VID:SERIAL", "UPPER(CAS:SERIAL) = UPPER(VID:SERIAL)"}};

constexpr File kTapeParent[] = {File::kHtapes};
constexpr File kSubjectParent[] = {File::kSubject};
constexpr File kVideoParent[] = {File::kVideos};

constexpr BrowseSpec kTapeItems{"UPDATEHTAPES:ITEMS",
                                nullptr,
                                nullptr,
                                File::kItems,
                                kTapeParent,
                                kCompilationColumns,
                                kItemsOfTape,
                                kPlainPopup,
                                kPlainPopupEmpty,
                                {},
                                "UPDATEITEMS",
                                0,
                                0,
                                {23, 24, 25, 26, 0}};
constexpr BrowseSpec kSubjectItems{"UPDATESUBJECT:ITEMS",
                                   nullptr,
                                   nullptr,
                                   File::kItems,
                                   kSubjectParent,
                                   kSubjectItemColumns,
                                   kItemsOfSubject,
                                   kPlainPopup,
                                   kPlainPopupEmpty,
                                   {},
                                   "UPDATEITEMS",
                                   0,
                                   0,
                                   {4, 5, 6, 7, 0}};
constexpr BrowseSpec kVideoCast{"UPDATEVIDEOS:CAST",
                                nullptr,
                                nullptr,
                                File::kCast,
                                kVideoParent,
                                kCastColumns,
                                kCastOfVideo,
                                kPlainPopup,
                                kPlainPopupEmpty,
                                {},
                                "UPDATECAST",
                                0,
                                0,
                                {43, 44, 45, 46, 0}};

// --- The windows' variables, in binding order ---

constexpr const char* kTapeBindings[] = {"HTA:TITLE",  "HTA:START_DATE",   "HTA:END_DATE",
                                         "HTA:TYPE",   "HTA:FORMAT",       "HTA:SPEED",
                                         "HTA:LENGTH", "HTA:MANUFACTURER", "manufacturer names",
                                         "HTA:NOTES",  "compilation rows", "HTA:SERIAL"};
constexpr const char* kItemBindings[] = {
    "ITE:SERIAL",         "ITE:DESCRIPTION",  "ITE:DATE",          "ITE:START_TIME",
    "ITE:END_TIME",       "ITE:RUNNING_TIME", "ITE:COUNTER_START", "ITE:COUNTER_END",
    "ITE:PROGRAM_SOURCE", "ITE:SUBJECT",      "subject names",     "ITE:ARCHIVE",
    "ITE:NOTES"};
constexpr const char* kSubjectBindings[] = {"SUB:SUBJECT", "item rows"};
constexpr const char* kManufacturerBindings[] = {"MAN:MANUFACTURER"};
constexpr const char* kVideoBindings[] = {"VID:TITLE",
                                          "VID:NUMBER_OF_TAPES",
                                          "VID:PUBLISHER",
                                          "VID:PUBLISHERS_CATALOGUE_NO",
                                          "VID:FORMAT",
                                          "VID:RUNNING_TIME",
                                          "VID:CERTIFICATE",
                                          "VID:PREVIOUSLY_AVAILABLE_AS",
                                          "VID:STEREO",
                                          "VID:SURROUND_SOUND",
                                          "VID:BEST_SURROUND_SETTING",
                                          "VID:DIRECTOR",
                                          "VID:PRODUCER",
                                          "VID:SOUNDTRACK",
                                          "VID:DATE_BOUGHT",
                                          "VID:PRICE",
                                          "VID:SUBJECT",
                                          "VID:STAR_RATING",
                                          "VID:NOTES",
                                          "cast rows",
                                          "VID:SERIAL"};
constexpr const char* kCastBindings[] = {"CAS:SERIAL", "CAS:PERFORMER", "CAS:STAR"};

// --- Lists, lookups and checks ---

constexpr FormDropList kManufacturerList[] = {{20, "HTA:MANUFACTURER", "manufacturer names",
                                               File::kManufacturer, "MAN:MNFACT",
                                               "MAN:MANUFACTURER"}};
constexpr FormDropList kSubjectList[] = {
    {21, "ITE:SUBJECT", "subject names", File::kSubject, "SUB:SUBJECTS", "SUB:SUBJECT"}};
constexpr FormLookup kVideoSubject[] = {
    {38, "VID:SUBJECT", File::kSubject, "SUB:SUBJECTS", "SUB:SUBJECT", "SELECTSUBJECT"}};
constexpr FormRange kStarRating[] = {{40, "VID:STAR_RATING", 1, 3}};
constexpr FormDuration kRunningTime{"ITE:RUNNING_TIME", "ITE:START_TIME", "ITE:END_TIME"};

constexpr File kTapeFiles[] = {File::kItems, File::kManufacturer};
constexpr File kItemFiles[] = {File::kSubject};
constexpr File kSubjectFiles[] = {File::kItems};
constexpr File kVideoFiles[] = {File::kCast, File::kSubject};

const FormSpec kForms[] = {
    {"UPDATEHTAPES",
     "REELBASE.qvw$reelb022",
     "UPDATEHTAPES$QUICKWINDOW",
     File::kHtapes,
     kTapeFiles,
     kTapeBindings,
     InsertStyle::kNumbered,
     "HTA:SERIAL",
     "HTA:SERIAL_NO",
     "HTA:SERIAL_No",
     kManufacturerList,
     {},
     {},
     nullptr,
     &kTapeItems,
     "compilation rows",
     "TXUPDATE:HTAPES",
     "TXDELETE:HTAPES",
     {27, 28, 29}},
    {"UPDATEITEMS",
     "REELBASE.qvw$reelb025",
     "UPDATEITEMS$QUICKWINDOW",
     File::kItems,
     kItemFiles,
     kItemBindings,
     InsertStyle::kAddOnOk,
     nullptr,
     nullptr,
     nullptr,
     kSubjectList,
     {},
     {},
     &kRunningTime,
     nullptr,
     nullptr,
     "TXUPDATE:ITEMS",
     "TXDELETE:ITEMS",
     {25, 26, 27}},
    {"UPDATESUBJECT",
     "REELBASE.qvw$reelb027",
     "UPDATESUBJECT$QUICKWINDOW",
     File::kSubject,
     kSubjectFiles,
     kSubjectBindings,
     InsertStyle::kAddOnMore,
     nullptr,
     "SUB:SUBJECTS",
     "SUB:SUBJECTS",
     {},
     {},
     {},
     nullptr,
     &kSubjectItems,
     "item rows",
     "TXUPDATE:SUBJECT",
     "TXDELETE:SUBJECT",
     {9, 10, 11, 8}},
    {"UPDATEMANUFACTURER",
     "REELBASE.qvw$reelb028",
     "UPDATEMANUFACTURER$QUICKWINDOW",
     File::kManufacturer,
     {},
     kManufacturerBindings,
     InsertStyle::kAddOnMore,
     nullptr,
     "MAN:MNFACT",
     "MAN:MNFACT",
     {},
     {},
     {},
     nullptr,
     nullptr,
     nullptr,
     "TXUPDATE:MANUFACTURER",
     "TXDELETE:MANUFACTURER",
     {5, 6, 7, 4}},
    {"UPDATEVIDEOS",
     "REELBASE.qvw$reelb030",
     "UPDATEVIDEOS$QUICKWINDOW",
     File::kVideos,
     kVideoFiles,
     kVideoBindings,
     InsertStyle::kNumbered,
     "VID:SERIAL",
     "VID:SERIALN",
     "VID:SERIALN",
     {},
     kVideoSubject,
     kStarRating,
     nullptr,
     &kVideoCast,
     "cast rows",
     "TXUPDATE:videos",
     "TXDELETE:videos",
     {47, 48, 49}},
    {"UPDATECAST",
     "REELBASE.qvw$reelb032",
     "UPDATECAST$QUICKWINDOW",
     File::kCast,
     {},
     kCastBindings,
     InsertStyle::kAddOnOk,
     nullptr,
     nullptr,
     nullptr,
     {},
     {},
     {},
     nullptr,
     nullptr,
     nullptr,
     "TXUPDATE:CAST",
     "TXDELETE:CAST",
     {12, 13, 14}},
};

}  // namespace

std::span<const FormSpec> FormSpecs() {
  return kForms;
}

}  // namespace rk
