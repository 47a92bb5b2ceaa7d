// The declaration tables of the collection's files. Offsets are from the start of
// the record buffer; dates and times are LONG day numbers and time values.
#include "app/dictionary/data_dictionary.h"

#include "runtime/core/type_codes.h"

namespace rk {
namespace {

constexpr uint8_t kCollectionAttributes = 0x1C;                      // create, per thread, and 0x08
constexpr uint8_t kSubjectAttributes = 0x14;                         // create and per thread only
constexpr uint32_t kDupKey = kKeyDup | kKeyOpt | kKeyNoCase;         // 0x07
constexpr uint32_t kUniqueKey = kKeyOpt | kKeyNoCase | kKeyPrimary;  // 0x16

constexpr FieldSpec kHtapesFields[] = {
    {"HTA:SERIAL", 0, kShort},        {"HTA:TITLE", 2, kString, 60},
    {"HTA:START_DATE", 62, kLong},    {"HTA:END_DATE", 66, kLong},
    {"HTA:TYPE", 70, kString, 10},    {"HTA:MANUFACTURER", 80, kString, 20},
    {"HTA:FORMAT", 100, kString, 12}, {"HTA:SPEED", 112, kString, 3},
    {"HTA:LENGTH", 115, kString, 5},
};
constexpr KeySpec kHtapesKeys[] = {
    {"HTA:SERIAL_NO", kUniqueKey, {1}},
    {"HTA:DESCRIPTION", kDupKey, {2, 3}},
    {"HTA:DATE", kDupKey, {3, 4}},
};
constexpr MemoSpec kHtapesMemos[] = {{"HTA:NOTES", 1000}};

constexpr FieldSpec kItemsFields[] = {
    {"ITE:SERIAL", 0, kShort},
    {"ITE:DATE", 2, kLong},
    {"ITE:START_TIME", 6, kLong},
    {"ITE:END_TIME", 10, kLong},
    {"ITE:RUNNING_TIME", 14, kLong},
    {"ITE:COUNTER_START", 18, kLong},
    {"ITE:COUNTER_END", 22, kLong},
    {"ITE:DESCRIPTION", 26, kString, 80},
    {"ITE:PROGRAM_SOURCE", 106, kString, 20},
    {"ITE:SUBJECT", 126, kString, 20},
    {"ITE:ARCHIVE", 146, kString, 1},
};
constexpr KeySpec kItemsKeys[] = {
    {"ITE:SERIAL_NO", kDupKey, {1}},
    {"ITE:DATE_KEY", kDupKey, {2}},
    {"ITE:TITLE", kDupKey, {8, 2}},
    {"ITE:SUBJECTS", kDupKey, {10, 8, 2}},
};
constexpr MemoSpec kItemsMemos[] = {{"ITE:NOTES", 500}};

constexpr FieldSpec kVideosFields[] = {
    {"VID:SERIAL", 0, kShort},
    {"VID:TITLE", 2, kString, 60},
    {"VID:NUMBER_OF_TAPES", 62, kShort},
    {"VID:PUBLISHER", 64, kString, 30},
    {"VID:PUBLISHERS_CATALOGUE_NO", 94, kString, 20},
    {"VID:FORMAT", 114, kString, 20},
    {"VID:RUNNING_TIME", 134, kLong},
    {"VID:CERTIFICATE", 138, kString, 22},
    {"VID:PREVIOUSLY_AVAILABLE_AS", 160, kString, 60},
    {"VID:STEREO", 220, kString, 1},
    {"VID:SURROUND_SOUND", 221, kString, 5},
    {"VID:BEST_SURROUND_SETTING", 226, kString, 20},
    {"VID:DIRECTOR", 246, kString, 30},
    {"VID:PRODUCER", 276, kString, 30},
    {"VID:SOUNDTRACK", 306, kString, 30},
    {"VID:DATE_BOUGHT", 336, kLong},
    {"VID:PRICE", 340, kDecimal, 3, 2},
    {"VID:SUBJECT", 343, kString, 20},
    {"VID:STAR_RATING", 363, kShort},
};
constexpr KeySpec kVideosKeys[] = {
    {"VID:SERIALN", kUniqueKey, {1}},
    {"VID:TITLES", kDupKey, {2}},
};
constexpr MemoSpec kVideosMemos[] = {{"VID:NOTES", 1000}};

constexpr FieldSpec kCastFields[] = {
    {"CAS:SERIAL", 0, kShort},
    {"CAS:PERFORMER", 2, kString, 40},
    {"CAS:STAR", 42, kString, 20},
};
constexpr KeySpec kCastKeys[] = {
    {"CAS:SERIALN", kDupKey, {1, 2}},
    {"CAS:PERFORMERS", kDupKey, {2, 1}},
};

constexpr FieldSpec kSubjectFields[] = {{"SUB:SUBJECT", 0, kString, 20}};
constexpr KeySpec kSubjectKeys[] = {{"SUB:SUBJECTS", kUniqueKey, {1}}};

constexpr FieldSpec kManufacturerFields[] = {{"MAN:MANUFACTURER", 0, kString, 20}};
constexpr KeySpec kManufacturerKeys[] = {{"MAN:MNFACT", kUniqueKey, {1}}};

const FileSpec kCollectionFiles[] = {
    {"HTAPES", "HTAPES", kCollectionAttributes, 120, kHtapesFields, kHtapesKeys, kHtapesMemos},
    {"ITEMS", "ITEMS", kCollectionAttributes, 147, kItemsFields, kItemsKeys, kItemsMemos},
    {"videos", "VIDEOS", kCollectionAttributes, 365, kVideosFields, kVideosKeys, kVideosMemos},
    {"CAST", "CAST", kCollectionAttributes, 62, kCastFields, kCastKeys, {}},
    {"SUBJECT", "SUBJECT", kSubjectAttributes, 20, kSubjectFields, kSubjectKeys, {}},
    {"MANUFACTURER",
     "MANUFACTURER",
     kCollectionAttributes,
     20,
     kManufacturerFields,
     kManufacturerKeys,
     {}},
};

}  // namespace

std::span<const FileSpec> CollectionFileSpecs() {
  return kCollectionFiles;
}

}  // namespace rk
