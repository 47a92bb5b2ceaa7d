#include "runtime/files/kmf_definition.h"

#include "runtime/core/type_codes.h"
#include "runtime/files/kmf_bytes.h"

namespace rk::kmf {
namespace {

bool HasTextExtras(uint8_t type) {
  return type == kString || type == kCString || type == kPString;
}

void AppendText(std::string& out, const OptionalText& text) {
  if (!text) {
    out.append({'\0', '\1'});
  } else if (text->empty()) {
    out.append({'\0', '\0'});
  } else {
    out.append(*text);
    out.push_back('\0');
  }
}

class StreamReader {
 public:
  explicit StreamReader(std::string_view stream) : stream_(stream) {}

  bool Byte(uint8_t& value) {
    if (pos_ >= stream_.size()) return false;
    value = static_cast<uint8_t>(stream_[pos_++]);
    return true;
  }
  bool Number(uint16_t& value) {
    if (stream_.size() - pos_ < 2) return false;
    value = LoadLe16(reinterpret_cast<const uint8_t*>(stream_.data() + pos_));
    pos_ += 2;
    return true;
  }
  bool Text(OptionalText& text) {
    size_t end = stream_.find('\0', pos_);
    if (end == std::string_view::npos) return false;
    if (end > pos_) {
      text = std::string(stream_.substr(pos_, end - pos_));
      pos_ = end + 1;
      return true;
    }
    uint8_t marker = 0;
    ++pos_;
    if (!Byte(marker)) return false;
    text = marker == 1 ? OptionalText() : OptionalText(std::string());
    return true;
  }

 private:
  std::string_view stream_;
  size_t pos_ = 0;
};

bool ReadField(StreamReader& in, FieldDefinition& field) {
  bool ok = in.Byte(field.type) && in.Number(field.offset) && in.Text(field.name) &&
            in.Number(field.elements) && in.Number(field.totalLength) &&
            in.Number(field.groupFlag) && in.Number(field.index);
  if (ok && field.type == kDecimal) ok = in.Byte(field.decimalPlaces) && in.Byte(field.decimalSize);
  if (ok && HasTextExtras(field.type))
    ok = in.Number(field.declaredLength) && in.Text(field.picture);
  return ok;
}

bool ReadKey(StreamReader& in, KeyDefinition& key) {
  uint16_t count = 0;
  if (!(in.Text(key.externalName) && in.Text(key.label) && in.Byte(key.flags) &&
        in.Number(count))) {
    return false;
  }
  key.components.resize(count);
  for (KeyComponentDefinition& component : key.components) {
    if (!(in.Number(component.field) && in.Number(component.descending))) return false;
  }
  return true;
}

}  // namespace

std::string EncodeDefinition(const TableDefinition& definition) {
  std::string out;
  AppendLe16(out, definition.version);
  AppendLe16(out, definition.recordLength);
  AppendLe16(out, static_cast<uint16_t>(definition.fields.size()));
  AppendLe16(out, static_cast<uint16_t>(definition.memos.size()));
  AppendLe16(out, static_cast<uint16_t>(definition.keys.size()));
  for (const FieldDefinition& field : definition.fields) {
    out.push_back(static_cast<char>(field.type));
    AppendLe16(out, field.offset);
    AppendText(out, field.name);
    AppendLe16(out, field.elements);
    AppendLe16(out, field.totalLength);
    AppendLe16(out, field.groupFlag);
    AppendLe16(out, field.index);
    if (field.type == kDecimal) {
      out.push_back(static_cast<char>(field.decimalPlaces));
      out.push_back(static_cast<char>(field.decimalSize));
    }
    if (HasTextExtras(field.type)) {
      AppendLe16(out, field.declaredLength);
      AppendText(out, field.picture);
    }
  }
  for (const MemoDefinition& memo : definition.memos) {
    AppendText(out, memo.externalName);
    AppendText(out, memo.label);
    AppendLe16(out, memo.size);
    AppendLe16(out, memo.flags);
  }
  for (const KeyDefinition& key : definition.keys) {
    AppendText(out, key.externalName);
    AppendText(out, key.label);
    out.push_back(static_cast<char>(key.flags));
    AppendLe16(out, static_cast<uint16_t>(key.components.size()));
    for (const KeyComponentDefinition& component : key.components) {
      AppendLe16(out, component.field);
      AppendLe16(out, component.descending);
    }
  }
  return out;
}

bool DecodeDefinition(std::string_view stream, TableDefinition& definition, std::string& problem) {
  StreamReader in(stream);
  uint16_t fieldCount = 0, memoCount = 0, keyCount = 0;
  problem = "definition stream ends early";
  if (!(in.Number(definition.version) && in.Number(definition.recordLength) &&
        in.Number(fieldCount) && in.Number(memoCount) && in.Number(keyCount))) {
    return false;
  }
  if (definition.version >= 3) {
    problem = "definition version is not supported";
    return false;
  }
  definition.fields.assign(fieldCount, {});
  definition.memos.assign(memoCount, {});
  definition.keys.assign(keyCount, {});
  for (FieldDefinition& field : definition.fields) {
    if (!ReadField(in, field)) return false;
  }
  for (MemoDefinition& memo : definition.memos) {
    if (!(in.Text(memo.externalName) && in.Text(memo.label) && in.Number(memo.size) &&
          in.Number(memo.flags))) {
      return false;
    }
  }
  for (KeyDefinition& key : definition.keys) {
    if (!ReadKey(in, key)) return false;
    for (const KeyComponentDefinition& component : key.components) {
      if (component.field >= fieldCount) {
        problem = "key component names no field";
        return false;
      }
    }
  }
  problem.clear();
  return true;
}

}  // namespace rk::kmf
