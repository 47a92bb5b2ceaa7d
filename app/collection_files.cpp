#include "app/collection_files.h"

#include "runtime/core/clear_value.h"

#include <array>

#include "app/dictionary/data_dictionary.h"
#include "runtime/files/kmf_driver.h"

namespace rk {
namespace {

// Made on first use and never destroyed: the per-thread instances and the
// open-files registry keep the descriptors' addresses until the process ends.
std::array<DeclaredFile*, kCollectionFileCount>& Declarations() {
  static auto* files = new std::array<DeclaredFile*, kCollectionFileCount>{};
  return *files;
}

std::string_view PrefixOf(std::string_view name) {
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon + 1);
}

}  // namespace

DeclaredFile& CollectionFile(CollectionFileId which) {
  auto index = static_cast<size_t>(which);
  DeclaredFile*& file = Declarations().at(index);
  if (!file) file = new DeclaredFile(CollectionFileSpecs()[index], &KmfEntry);
  return *file;
}

DeclaredFile* CollectionFileOfName(std::string_view prefixedName) {
  std::string_view prefix = PrefixOf(prefixedName);
  if (prefix.empty()) return nullptr;
  for (int i = 0; i < kCollectionFileCount; ++i) {
    DeclaredFile& file = CollectionFile(static_cast<CollectionFileId>(i));
    if (!file.fields().empty() && PrefixOf(file.fields().front().name) == prefix) return &file;
  }
  return nullptr;
}

FileDescriptor& HTAPES() {
  return CollectionFile(CollectionFileId::kHtapes).file();
}
FileDescriptor& ITEMS() {
  return CollectionFile(CollectionFileId::kItems).file();
}
FileDescriptor& videos() {
  return CollectionFile(CollectionFileId::kVideos).file();
}
FileDescriptor& CAST() {
  return CollectionFile(CollectionFileId::kCast).file();
}
FileDescriptor& SUBJECT() {
  return CollectionFile(CollectionFileId::kSubject).file();
}
FileDescriptor& MANUFACTURER() {
  return CollectionFile(CollectionFileId::kManufacturer).file();
}

void ClearRecordOf(DeclaredFile& file) {
  const FileDescriptor& descriptor = file.file();
  ClearValue(file.record(), {descriptor.fieldList, descriptor.fieldListLength}, 0);
  for (int memo = 1; memo <= file.memoCount(); ++memo) file.setMemoText(memo, "");
}

void* CollectionVariable(std::string_view prefixedName) {
  DeclaredFile* file = CollectionFileOfName(prefixedName);
  if (!file) return nullptr;
  if (const FieldInfo* field = file->field(prefixedName)) return file->record() + field->offset;
  for (int memo = 1; memo <= file->memoCount(); ++memo) {
    MemoDescriptor& descriptor = file->memo(memo);
    std::string_view label(descriptor.label, static_cast<size_t>(descriptor.labelLength));
    if (label == prefixedName) return descriptor.buffer;
  }
  return nullptr;
}

}  // namespace rk
