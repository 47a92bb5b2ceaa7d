#include "app/dictionary/data_dictionary.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "runtime/core/type_codes.h"
#include "runtime/files/field_list.h"

namespace rk {
namespace {

std::vector<FieldInfo> FieldsOf(const FileSpec& spec) {
  std::vector<FieldInfo> fields;
  EXPECT_EQ(ParseFieldList(EncodeFieldList(spec.fields), fields), 0) << spec.label;
  return fields;
}

TEST(DataDictionaryTest, SixFilesWithTheirNamesAndAttributes) {
  std::map<std::string, std::tuple<std::string, int, uint32_t>> expected = {
      {"HTAPES", {"HTAPES", 0x1C, 120}},  {"ITEMS", {"ITEMS", 0x1C, 147}},
      {"videos", {"VIDEOS", 0x1C, 365}},  {"CAST", {"CAST", 0x1C, 62}},
      {"SUBJECT", {"SUBJECT", 0x14, 20}}, {"MANUFACTURER", {"MANUFACTURER", 0x1C, 20}},
  };
  ASSERT_EQ(CollectionFileSpecs().size(), expected.size());
  for (const FileSpec& spec : CollectionFileSpecs()) {
    auto [storedName, attributes, length] = expected.at(spec.label);
    EXPECT_EQ(spec.storedName, storedName);
    EXPECT_EQ(spec.attributes, attributes) << spec.label;
    EXPECT_EQ(spec.recordLength, length) << spec.label;
  }
}

// Every field starts where the one before it ends and the last one ends the
// record: a mistyped offset or size shows as a gap or an overlap.
TEST(DataDictionaryTest, FieldsTileTheRecordExactly) {
  for (const FileSpec& spec : CollectionFileSpecs()) {
    std::vector<FieldInfo> fields = FieldsOf(spec);
    ASSERT_EQ(fields.size(), spec.fields.size());
    uint32_t end = 0;
    std::string prefix = std::string(spec.fields[0].name).substr(0, 4);
    for (const FieldInfo& field : fields) {
      EXPECT_EQ(field.offset, end) << field.name;
      EXPECT_EQ(field.name.substr(0, 4), prefix) << "every field carries the file's prefix";
      end = field.end();
    }
    EXPECT_EQ(end, spec.recordLength) << spec.label;
  }
}

TEST(DataDictionaryTest, KeysNameTheirFieldsAndCarryTheirAttributes) {
  std::map<std::string, std::pair<std::string, uint32_t>> expected = {
      {"HTA:SERIAL_NO", {"HTA:SERIAL", 0x16}},
      {"HTA:DESCRIPTION", {"HTA:TITLE HTA:START_DATE", 0x07}},
      {"HTA:DATE", {"HTA:START_DATE HTA:END_DATE", 0x07}},
      {"ITE:SERIAL_NO", {"ITE:SERIAL", 0x07}},
      {"ITE:DATE_KEY", {"ITE:DATE", 0x07}},
      {"ITE:TITLE", {"ITE:DESCRIPTION ITE:DATE", 0x07}},
      {"ITE:SUBJECTS", {"ITE:SUBJECT ITE:DESCRIPTION ITE:DATE", 0x07}},
      {"VID:SERIALN", {"VID:SERIAL", 0x16}},
      {"VID:TITLES", {"VID:TITLE", 0x07}},
      {"CAS:SERIALN", {"CAS:SERIAL CAS:PERFORMER", 0x07}},
      {"CAS:PERFORMERS", {"CAS:PERFORMER CAS:SERIAL", 0x07}},
      {"SUB:SUBJECTS", {"SUB:SUBJECT", 0x16}},
      {"MAN:MNFACT", {"MAN:MANUFACTURER", 0x16}},
  };
  size_t keys = 0;
  for (const FileSpec& spec : CollectionFileSpecs()) {
    std::vector<FieldInfo> fields = FieldsOf(spec);
    for (const KeySpec& key : spec.keys) {
      ++keys;
      std::string names;
      for (int32_t component : key.components) {
        if (component == 0) break;
        ASSERT_GT(component, 0) << key.label << ": every component ascends";
        ASSERT_LE(component, static_cast<int32_t>(fields.size())) << key.label;
        names += (names.empty() ? "" : " ") + fields[component - 1].name;
      }
      auto [components, attributes] = expected.at(key.label);
      EXPECT_EQ(names, components) << key.label;
      EXPECT_EQ(key.attributes, attributes) << key.label;
    }
  }
  EXPECT_EQ(keys, expected.size());
}

TEST(DataDictionaryTest, MemosAndTheDecimalPrice) {
  std::map<std::string, std::pair<std::string, uint32_t>> memos;
  for (const FileSpec& spec : CollectionFileSpecs())
    for (const MemoSpec& memo : spec.memos) memos[spec.label] = {memo.label, memo.size};
  EXPECT_EQ(memos, (std::map<std::string, std::pair<std::string, uint32_t>>{
                       {"HTAPES", {"HTA:NOTES", 1000}},
                       {"ITEMS", {"ITE:NOTES", 500}},
                       {"videos", {"VID:NOTES", 1000}}}));

  std::vector<FieldInfo> videoFields = FieldsOf(CollectionFileSpecs()[2]);
  const FieldInfo& price = videoFields[16];
  EXPECT_EQ(price.name, "VID:PRICE");
  EXPECT_EQ(price.type, kDecimal);
  EXPECT_EQ(price.size, 3u);
  EXPECT_EQ(price.places, 2);
}

}  // namespace
}  // namespace rk
