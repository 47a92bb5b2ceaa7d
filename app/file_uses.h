// The collection files a procedure uses. Each is opened by the thread's first
// user of it (and bound by name for view filters) and closed by its last, so
// that procedures calling each other on one thread share one opening.
#pragma once

#include <span>

#include "app/collection_files.h"

namespace rk {

void OpenFileUses(CollectionFileId file, std::span<const CollectionFileId> others);
void CloseFileUses(CollectionFileId file, std::span<const CollectionFileId> others);
void OpenFileUses(std::span<const CollectionFileId> files);
void CloseFileUses(std::span<const CollectionFileId> files);

}  // namespace rk
