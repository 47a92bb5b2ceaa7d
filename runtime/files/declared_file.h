// A file declaration built from a static table: the file descriptor, the record's
// field list, the key and memo descriptors and the buffers they point at, all
// owned by one object. The application declares its files this way, one table per
// file; tools and tests declare files they learn about at run time the same way.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "runtime/files/field_list.h"
#include "runtime/files/file_descriptor.h"

namespace rk {

inline constexpr int kMaxSpecComponents = 16;

struct KeySpec {
  const char* label;  // "HTA:SERIAL_NO"
  uint32_t attributes;
  // Field numbers from 1 (negative: descending), ended by 0 or the array's end.
  int32_t components[kMaxSpecComponents];
};

struct MemoSpec {
  const char* label;  // "HTA:NOTES"
  uint32_t size;
  uint8_t flags = kMemoText;
};

struct FileSpec {
  const char* label;       // the name the application uses: "videos"
  const char* storedName;  // the name the driver is given: "VIDEOS"
  uint8_t attributes;
  uint32_t recordLength;
  std::span<const FieldSpec> fields;
  std::span<const KeySpec> keys;
  std::span<const MemoSpec> memos;
};

class DeclaredFile {
 public:
  DeclaredFile(const FileSpec& spec, DriverEntry entry);
  DeclaredFile(const DeclaredFile&) = delete;
  DeclaredFile& operator=(const DeclaredFile&) = delete;
  ~DeclaredFile();

  FileDescriptor& file() { return file_; }
  const std::string& label() const { return label_; }
  // Keys and memos numbered from 1, in declaration order.
  KeyDescriptor& key(int number) { return *keys_.at(number - 1); }
  MemoDescriptor& memo(int number) { return *memos_.at(number - 1); }
  int keyCount() const { return static_cast<int>(keys_.size()); }
  int memoCount() const { return static_cast<int>(memos_.size()); }
  uint8_t* record() { return record_.data(); }
  const uint8_t* record() const { return record_.data(); }
  // The memo's text with its trailing padding removed.
  std::string memoText(int number) const;
  void setMemoText(int number, std::string_view text);

  // The declared fields, numbered from 1; null when no field has the name.
  const std::vector<FieldInfo>& fields() const { return fields_; }
  const FieldInfo* field(std::string_view name) const;
  KeyDescriptor* key(std::string_view label);

  // A field's value in the record buffer (element 0 of an array), read and
  // written as the runtime converts values; unknown names read as empty and
  // are not written.
  std::string text(const FieldInfo& field, uint32_t element = 0);
  std::string text(std::string_view name);
  void setText(const FieldInfo& field, std::string_view text, uint32_t element = 0);
  void setText(std::string_view name, std::string_view text);
  void setLong(std::string_view name, int32_t value);

 private:
  std::string label_;
  std::string name_;
  std::vector<uint8_t> fieldList_;
  std::vector<FieldInfo> fields_;
  std::vector<uint8_t> record_;
  std::vector<std::string> labels_;  // key and memo labels, kept alive here
  std::vector<std::vector<int32_t>> components_;
  std::vector<std::unique_ptr<KeyDescriptor>> keys_;
  std::vector<KeyDescriptor*> keyList_;
  std::vector<std::vector<char>> memoBuffers_;
  std::vector<std::unique_ptr<MemoDescriptor>> memos_;
  std::vector<MemoDescriptor*> memoList_;
  FileDescriptor file_;
};

}  // namespace rk
