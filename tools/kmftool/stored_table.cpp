#include "tools/kmftool/stored_table.h"

#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/kmf_stored_tables.h"

namespace rk::kmftool {
namespace {

// Owns the texts a FileSpec points at while the declaration is built.
struct SpecBuilder {
  std::vector<std::string> texts;
  std::vector<FieldSpec> fields;
  std::vector<KeySpec> keys;
  std::vector<MemoSpec> memos;

  const char* Keep(const std::optional<std::string>& text) {
    texts.push_back(text.value_or(""));
    return texts.back().c_str();
  }
};

uint32_t ElementSize(const kmf::FieldDefinition& field) {
  switch (field.type) {
    case kDecimal:
    case kPDecimal:
      return field.decimalSize;
    case kString:
    case kCString:
    case kPString:
      return field.declaredLength;
    default:
      return field.elements > 0 ? field.totalLength / field.elements : field.totalLength;
  }
}

std::unique_ptr<DeclaredFile> Declare(const std::string& name,
                                      const kmf::TableDefinition& definition) {
  SpecBuilder spec;
  spec.texts.reserve(definition.fields.size() * 2 + definition.keys.size() +
                     definition.memos.size());
  for (const kmf::FieldDefinition& field : definition.fields) {
    bool text = field.type == kString || field.type == kCString || field.type == kPString;
    spec.fields.push_back({.name = spec.Keep(field.name),
                           .offset = field.offset,
                           .type = field.type,
                           .size = ElementSize(field),
                           .places = field.decimalPlaces,
                           .count = std::max<uint32_t>(field.elements, 1),
                           .picture = text ? spec.Keep(field.picture) : nullptr});
  }
  for (const kmf::KeyDefinition& key : definition.keys) {
    KeySpec keySpec{
        .label = spec.Keep(key.label), .attributes = key.flags & 0x1Fu, .components = {}};
    if (key.flags & kmf::kKeyDynamic) keySpec.attributes |= kKeyDynamic;
    for (size_t c = 0; c < key.components.size() && c < kMaxSpecComponents; ++c) {
      int32_t number = key.components[c].field + 1;
      keySpec.components[c] = key.components[c].descending ? -number : number;
    }
    spec.keys.push_back(keySpec);
  }
  for (const kmf::MemoDefinition& memo : definition.memos)
    spec.memos.push_back({spec.Keep(memo.label), memo.size, static_cast<uint8_t>(memo.flags)});
  FileSpec file{.label = name.c_str(),
                .storedName = name.c_str(),
                .attributes = 0,
                .recordLength = definition.recordLength,
                .fields = spec.fields,
                .keys = spec.keys,
                .memos = spec.memos};
  return std::make_unique<DeclaredFile>(file, &KmfEntry);
}

}  // namespace

std::vector<std::string> ListTables(const std::string& path, std::string& problem) {
  std::vector<std::string> names;
  if (!kmf::ReadStoredTableNames(path, names, problem)) names.clear();
  return names;
}

bool OpenStoredTable(const std::string& path, const std::string& table, int32_t accessMode,
                     StoredTable& out, std::string& problem) {
  out.table = table;
  if (out.table.empty()) {
    std::vector<std::string> names = ListTables(path, problem);
    if (names.empty()) {
      if (problem.empty()) problem = "the file holds no table";
      return false;
    }
    out.table = names.front();
  }
  if (!kmf::ReadStoredDefinition(path, out.table, out.definition, problem)) return false;
  out.declared = Declare(path + "\\!" + out.table, out.definition);
  OPEN(out.file(), accessMode);
  if (ErrorCode() != 0) {
    problem = "cannot open table " + out.table + ": " + std::to_string(ErrorCode()) + " " +
              MessageText(ErrorCode());
    out.declared.reset();
    return false;
  }
  return true;
}

std::string FieldExportText(DeclaredFile& file, const FieldInfo& field, uint32_t element) {
  std::string text = file.text(field, element);
  if (IsTextType(field.type) || field.type == kGroup) {
    text.resize(ClipRight(text).size());
  }
  return text;
}

}  // namespace rk::kmftool
