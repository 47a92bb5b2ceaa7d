// A small tape table declaration and helpers shared by the KMF driver tests.
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "runtime/core/type_codes.h"
#include "runtime/files/kmf_table.h"
#include "tests/files/kmf_test_support.h"

namespace rk::kmf::testing {

// SERIAL LONG at 0, TITLE STRING(20) at 4, CATEGORY STRING(10) at 24; keys:
// 0 unique SERIAL, 1 DUP NOCASE TITLE, 2 DUP OPT CATEGORY then descending
// SERIAL; one memo NOTES of 1000 bytes. With `secondUnique` key 1 is unique.
inline TableDefinition TapeDefinition(bool secondUnique = false) {
  TableDefinition definition;
  definition.recordLength = 34;
  auto field = [&](uint8_t type, uint16_t offset, const char* name, uint16_t length) {
    FieldDefinition f;
    f.type = type;
    f.offset = offset;
    f.name = name;
    f.totalLength = length;
    f.index = static_cast<uint16_t>(definition.fields.size());
    if (type == kString) {
      f.declaredLength = length;
      f.picture = "@s" + std::to_string(length);
    }
    definition.fields.push_back(f);
  };
  field(kLong, 0, "TAP:SERIAL", 4);
  field(kString, 4, "TAP:TITLE", 20);
  field(kString, 24, "TAP:CATEGORY", 10);
  definition.memos.push_back({std::nullopt, "TAP:NOTES", 1000, 1});
  KeyDefinition serial;
  serial.label = "TAP:SERIAL_KEY";
  serial.components = {{0, 0}};
  KeyDefinition title;
  title.label = "TAP:TITLE_KEY";
  title.flags = secondUnique ? kKeyNoCase : (kKeyDup | kKeyNoCase);
  title.components = {{1, 0}};
  KeyDefinition category;
  category.label = "TAP:CATEGORY_KEY";
  category.flags = kKeyDup | kKeyOpt;
  category.components = {{2, 0}, {0, 1}};
  definition.keys = {serial, title, category};
  return definition;
}

inline std::unique_ptr<Table> TapeTable(const std::string& name, bool secondUnique = false) {
  TableDeclaration declaration;
  declaration.name = name;
  declaration.definition = TapeDefinition(secondUnique);
  declaration.mayCreate = true;
  return std::make_unique<Table>(std::move(declaration));
}

inline void FillTape(Table& table, int32_t serial, const std::string& title,
                     const std::string& category = "") {
  auto& record = table.record();
  std::memcpy(record.data(), &serial, 4);
  std::memset(record.data() + 4, ' ', 30);
  std::memcpy(record.data() + 4, title.data(), std::min<size_t>(title.size(), 20));
  std::memcpy(record.data() + 24, category.data(), std::min<size_t>(category.size(), 10));
}

inline int32_t SerialOf(Table& table) {
  int32_t serial;
  std::memcpy(&serial, table.record().data(), 4);
  return serial;
}

inline std::string TitleOf(Table& table) {
  std::string title(reinterpret_cast<char*>(table.record().data() + 4), 20);
  return title.substr(0, title.find_last_not_of(' ') + 1);
}

}  // namespace rk::kmf::testing
