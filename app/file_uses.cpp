#include "app/file_uses.h"

#include "app/open_data_file.h"
#include "app/thread_globals.h"
#include "runtime/files/declared_file_names.h"
#include "runtime/files/file_statements.h"

namespace rk {
namespace {

void OpenUse(CollectionFileId id) {
  if (UseCount(id) == 0) {
    OPENDATAFILE(CollectionFile(id).file());
    BindFileNames(CollectionFile(id));
  }
  ++UseCount(id);
}

void CloseUse(CollectionFileId id) {
  if (--UseCount(id) <= 0) {
    UseCount(id) = 0;
    CLOSE(CollectionFile(id).file());
  }
}

}  // namespace

void OpenFileUses(CollectionFileId file, std::span<const CollectionFileId> others) {
  OpenUse(file);
  for (CollectionFileId other : others) OpenUse(other);
}

void CloseFileUses(CollectionFileId file, std::span<const CollectionFileId> others) {
  CloseUse(file);
  for (CollectionFileId other : others) CloseUse(other);
}

void OpenFileUses(std::span<const CollectionFileId> files) {
  for (CollectionFileId file : files) OpenUse(file);
}

void CloseFileUses(std::span<const CollectionFileId> files) {
  for (CollectionFileId file : files) CloseUse(file);
}

}  // namespace rk
