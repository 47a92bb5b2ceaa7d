#include "runtime/files/declared_file.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/clipped_text.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/field_compare.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/open_files_registry.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/runtime_threads.h"

namespace rk {

DeclaredFile::DeclaredFile(const FileSpec& spec, DriverEntry entry)
    : label_(spec.label), name_(spec.storedName), fieldList_(EncodeFieldList(spec.fields)) {
  ParseFieldList(fieldList_, fields_);
  record_.assign(std::max<uint32_t>(spec.recordLength, 1), 0);
  labels_.reserve(spec.keys.size() + spec.memos.size());

  for (const KeySpec& keySpec : spec.keys) {
    auto key = std::make_unique<KeyDescriptor>();
    const std::string& label = labels_.emplace_back(keySpec.label);
    key->label = label.c_str();
    key->labelLength = static_cast<int32_t>(label.size());
    key->attributes = keySpec.attributes;
    auto& components = components_.emplace_back();
    for (int32_t component : keySpec.components) {
      if (component == 0) break;
      components.push_back(component);
    }
    key->componentCount = static_cast<uint8_t>(components.size());
    key->components = components.data();
    key->file = &file_;
    keyList_.push_back(key.get());
    keys_.push_back(std::move(key));
  }

  for (const MemoSpec& memoSpec : spec.memos) {
    auto memo = std::make_unique<MemoDescriptor>();
    const std::string& label = labels_.emplace_back(memoSpec.label);
    memo->label = label.c_str();
    memo->labelLength = static_cast<int32_t>(label.size());
    auto& buffer = memoBuffers_.emplace_back(std::max<uint32_t>(memoSpec.size, 1), ' ');
    memo->buffer = buffer.data();
    memo->flags = memoSpec.flags;
    memo->size = memoSpec.size;
    memoList_.push_back(memo.get());
    memos_.push_back(std::move(memo));
  }

  file_.entry = entry;
  file_.name = name_.c_str();
  file_.nameLength = static_cast<int32_t>(name_.size());
  file_.attributes = spec.attributes;
  file_.keyCount = static_cast<uint8_t>(keys_.size());
  file_.memoCount = static_cast<uint8_t>(memos_.size());
  file_.recordLength = spec.recordLength;
  file_.fieldList = fieldList_.data();
  file_.fieldListLength = static_cast<uint32_t>(fieldList_.size());
  file_.keys = keyList_.data();
  file_.memos = memoList_.data();
  file_.record = record_.data();
}

// A declaration that goes away closes its file, so that neither the driver nor the
// open-files registry keeps a pointer to it.
DeclaredFile::~DeclaredFile() {
  if (file_.state && file_.state->isOpen()) CallFileOperation(kOpClose, file_);
  if (file_.state) {
    UnregisterOpenFile(file_);
    DiscardFileState(file_);
  }
  if (file_.attributes & kFileAttrPerThread) ForgetPerThreadFile(file_);
}

std::string DeclaredFile::memoText(int number) const {
  const MemoDescriptor& memo = *memos_.at(number - 1);
  return std::string(ClipRight({memo.buffer, memo.size}));
}

void DeclaredFile::setMemoText(int number, std::string_view text) {
  MemoDescriptor& memo = *memos_.at(number - 1);
  size_t length = std::min<size_t>(text.size(), memo.size);
  std::memcpy(memo.buffer, text.data(), length);
  std::memset(memo.buffer + length, ' ', memo.size - length);
}

const FieldInfo* DeclaredFile::field(std::string_view name) const {
  for (const FieldInfo& info : fields_)
    if (info.name == name) return &info;
  return nullptr;
}

KeyDescriptor* DeclaredFile::key(std::string_view label) {
  for (auto& key : keys_)
    if (KeyLabel(*key) == label) return key.get();
  return nullptr;
}

namespace {

ValueRef ElementRef(const FieldInfo& field, uint8_t* record, uint32_t element) {
  FieldInfo one = field;
  one.offset += field.size * std::min(element, field.count - 1);
  return FieldValueRef(one, record);
}

}  // namespace

std::string DeclaredFile::text(const FieldInfo& field, uint32_t element) {
  PushRef(ElementRef(field, record_.data(), element));
  return Values().PopString();
}

std::string DeclaredFile::text(std::string_view name) {
  const FieldInfo* info = field(name);
  return info ? text(*info) : std::string();
}

void DeclaredFile::setText(const FieldInfo& field, std::string_view text, uint32_t element) {
  ValueRef ref = ElementRef(field, record_.data(), element);
  Values().PushCopy(text);
  AssignText(ref);
}

void DeclaredFile::setText(std::string_view name, std::string_view text) {
  if (const FieldInfo* info = field(name)) setText(*info, text);
}

void DeclaredFile::setLong(std::string_view name, int32_t value) {
  if (const FieldInfo* info = field(name)) {
    ValueRef ref = FieldValueRef(*info, record_.data());
    AssignLong(ref, value);
  }
}

}  // namespace rk
