// The rows of the browse table: one per browse and select procedure.
#include <cstring>

#include "app/browse_spec.h"

namespace rk {
namespace {

using File = CollectionFileId;

constexpr const char* kTapeColumns[] = {"HTA:SERIAL",   "HTA:TITLE", "HTA:START_DATE",
                                        "HTA:END_DATE", "HTA:TYPE",  "HTA:FORMAT",
                                        "HTA:SPEED",    "HTA:LENGTH"};
constexpr const char* kItemColumns[] = {
    "ITE:SERIAL",      "ITE:DATE",         "ITE:START_TIME",
    "ITE:END_TIME",    "ITE:RUNNING_TIME", "ITE:COUNTER_START",
    "ITE:COUNTER_END", "ITE:DESCRIPTION",  "ITE:PROGRAM_SOURCE"};
constexpr const char* kCompilationColumns[] = {
    "ITE:DATE",         "ITE:START_TIME",     "ITE:END_TIME",
    "ITE:RUNNING_TIME", "ITE:COUNTER_START",  "ITE:COUNTER_END",
    "ITE:DESCRIPTION",  "ITE:PROGRAM_SOURCE", "ITE:SERIAL"};
constexpr const char* kSubjectColumns[] = {"SUB:SUBJECT"};
constexpr const char* kManufacturerColumns[] = {"MAN:MANUFACTURER"};
constexpr const char* kVideoColumns[] = {"VID:SERIAL",
                                         "VID:TITLE",
                                         "VID:NUMBER_OF_TAPES",
                                         "VID:PUBLISHER",
                                         "VID:PUBLISHERS_CATALOGUE_NO",
                                         "VID:RUNNING_TIME",
                                         "VID:PREVIOUSLY_AVAILABLE_AS",
                                         "VID:STEREO",
                                         "VID:SURROUND_SOUND"};
constexpr const char* kCastColumns[] = {"CAS:SERIAL", "CAS:PERFORMER", "CAS:STAR"};
constexpr const char* kTapeCastColumns[] = {"CAS:PERFORMER", "CAS:STAR", "CAS:SERIAL"};

constexpr BrowseOrder kItemsOfTape{"ITE:SERIAL_NO", "ITE:SERIAL", "HTA:SERIAL",
                                   "ITE:SERIAL = HTA:SERIAL"};
constexpr BrowseOrder kItemsOfSubject{"ITE:SUBJECTS", "ITE:SUBJECT", "SUB:SUBJECT",
                                      "UPPER(ITE:SUBJECT) = UPPER(SUB:SUBJECT)"};
constexpr BrowseOrder kCastOfVideo{"CAS:SERIALN", "CAS:SERIAL", "VID:SERIAL",
                                   "UPPER(CAS:SERIAL) = UPPER(VID:SERIAL)"};

constexpr BrowseOrder kTapeOrders[] = {
    {"HTA:SERIAL_NO"}, {"HTA:DESCRIPTION"}, {"HTA:DATE"}, {"HTA:SERIAL_NO"}};
constexpr BrowseOrder kItemOrders[] = {
    kItemsOfTape, {"ITE:DATE_KEY"}, {"ITE:TITLE"}, kItemsOfSubject};
constexpr BrowseOrder kSubjectOrders[] = {{"SUB:SUBJECTS"}};
constexpr BrowseOrder kManufacturerOrders[] = {{"MAN:MNFACT"}};
constexpr BrowseOrder kVideoOrders[] = {{"VID:SERIALN"}, {"VID:TITLES"}};
constexpr BrowseOrder kCastOrders[] = {kCastOfVideo, {"CAS:PERFORMERS"}};
constexpr BrowseOrder kCompilationOrders[] = {kItemsOfTape};
constexpr BrowseOrder kSubjectItemOrders[] = {kItemsOfSubject};
constexpr BrowseOrder kTapeCastOrders[] = {kCastOfVideo};
constexpr BrowseOrder kSelectTapeOrders[] = {{"HTA:SERIAL_NO"}, {"HTA:DESCRIPTION"}, {"HTA:DATE"}};

constexpr File kTapeParent[] = {File::kHtapes};
constexpr File kSubjectParent[] = {File::kSubject};
constexpr File kVideoParent[] = {File::kVideos};
constexpr File kItemParents[] = {File::kHtapes, File::kSubject};

constexpr BrowseExtraButton kTapeButtons[] = {{6, "BROWSEITE:SERIAL_NO", 0}};
constexpr BrowseExtraButton kItemButtons[] = {{6, "SELECTHTAPES", 4}, {7, "SELECTSUBJECT", 4}};
constexpr BrowseExtraButton kSubjectButtons[] = {{6, "BROWSEITE:SUBJECTS", 0}};
constexpr BrowseExtraButton kVideoButtons[] = {{6, "BROWSECAS:SERIALN", 0}};
constexpr BrowseExtraButton kCastButtons[] = {{6, "SELECTVIDEOS", 4}};

constexpr const char* kPlainPopup = "|&Insert|&Change|&Delete";
constexpr const char* kPlainPopupEmpty = "|&Insert|~&Change|~&Delete";

constexpr std::span<const File> kNone;
constexpr std::span<const BrowseExtraButton> kNoButtons;

const BrowseSpec kBrowses[] = {
    {"BROWSEHTAPES", "REELBASE.qvw$reelb002", "BROWSEHTAPES$QUICKWINDOW", File::kHtapes, kNone,
     kTapeColumns, kTapeOrders, "|&Insert a New Tape|&Change a Tapes Details|&Delete a Tape",
     "|&Insert a New Tape|~&Change a Tapes Details|~&Delete a Tape", kTapeButtons, "UPDATEHTAPES",
     7, 8},
    {"BROWSEITEMS", "REELBASE.qvw$reelb006", "BROWSEITEMS$QUICKWINDOW", File::kItems, kItemParents,
     kItemColumns, kItemOrders, kPlainPopup, kPlainPopupEmpty, kItemButtons, "UPDATEITEMS", 8, 9},
    {"BROWSESUBJECT", "REELBASE.qvw$reelb011", "BROWSESUBJECT$QUICKWINDOW", File::kSubject, kNone,
     kSubjectColumns, kSubjectOrders, kPlainPopup, kPlainPopupEmpty, kSubjectButtons,
     "UPDATESUBJECT", 7, 8},
    {"BROWSEMANUFACTURER", "REELBASE.qvw$reelb013", "BROWSEMANUFACTURER$QUICKWINDOW",
     File::kManufacturer, kNone, kManufacturerColumns, kManufacturerOrders, kPlainPopup,
     kPlainPopupEmpty, kNoButtons, "UPDATEMANUFACTURER", 6, 7},
    {"BROWSEVIDEOS", "REELBASE.qvw$reelb015", "BROWSEVIDEOS$QUICKWINDOW", File::kVideos, kNone,
     kVideoColumns, kVideoOrders, "|&Insert A New Tape|&Change A Tapes Details|&Delete A Tape",
     "|&Insert A New Tape|~&Change A Tapes Details|~&Delete A Tape", kVideoButtons, "UPDATEVIDEOS",
     7, 8},
    {"BROWSECAST", "REELBASE.qvw$reelb018", "BROWSECAST$QUICKWINDOW", File::kCast, kVideoParent,
     kCastColumns, kCastOrders, kPlainPopup, kPlainPopupEmpty, kCastButtons, "UPDATECAST", 7, 8},
    {"BROWSEITE:SERIAL_NO", "REELBASE.qvw$reelb021", "BROWSEITE:SERIAL_NO$QUICKWINDOW",
     File::kItems, kTapeParent, kCompilationColumns, kCompilationOrders,
     "|&Insert Item To Compilation|&Change An Items Details|&Delete An Item From The Compilation",
     "|&Insert Item To Compilation|~&Change An Items Details|~&Delete An Item From The "
     "Compilation",
     kNoButtons, "UPDATEITEMS", 6, 7},
    {"BROWSEITE:SUBJECTS", "REELBASE.qvw$reelb026", "BROWSEITE:SUBJECTS$QUICKWINDOW", File::kItems,
     kSubjectParent, kItemColumns, kSubjectItemOrders, kPlainPopup, kPlainPopupEmpty, kNoButtons,
     "UPDATEITEMS", 6, 7},
    {"BROWSECAS:SERIALN", "REELBASE.qvw$reelb029", "BROWSECAS:SERIALN$QUICKWINDOW", File::kCast,
     kVideoParent, kTapeCastColumns, kTapeCastOrders, kPlainPopup, kPlainPopupEmpty, kNoButtons,
     "UPDATECAST", 6, 7},
    {"SELECTHTAPES", "REELBASE.qvw$reelb023", "SELECTHTAPES$QUICKWINDOW", File::kHtapes, kNone,
     kTapeColumns, kSelectTapeOrders, "&Select A Tape", "~&Select A Tape", kNoButtons, nullptr, 4,
     5, kSelectControls},
    {"SELECTSUBJECT", "REELBASE.qvw$reelb024", "SELECTSUBJECT$QUICKWINDOW", File::kSubject, kNone,
     kSubjectColumns, kSubjectOrders, "&Select", "~&Select", kNoButtons, nullptr, 4, 5,
     kSelectControls},
    {"SELECTVIDEOS", "REELBASE.qvw$reelb031", "SELECTVIDEOS$QUICKWINDOW", File::kVideos, kNone,
     kVideoColumns, kVideoOrders, "&Select", "~&Select", kNoButtons, nullptr, 4, 5,
     kSelectControls},
};

}  // namespace

std::span<const BrowseSpec> BrowseSpecs() {
  return kBrowses;
}

const BrowseSpec* BrowseSpecNamed(const char* procedure) {
  for (const BrowseSpec& spec : kBrowses) {
    if (std::strcmp(spec.procedure, procedure) == 0) return &spec;
  }
  return nullptr;
}

}  // namespace rk
