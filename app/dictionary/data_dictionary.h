// The collection's six record files: HTAPES, ITEMS, videos, CAST, SUBJECT and
// MANUFACTURER, each declared once as a static table (fields, keys, memo) from
// which its file descriptor, key and memo descriptors and record buffer are made.
// All six are stored by the KMF driver in the current directory and are declared
// per thread.
#pragma once

#include <span>

#include "runtime/files/declared_file.h"

namespace rk {

// The declaration tables, in the order HTAPES, ITEMS, videos, CAST, SUBJECT,
// MANUFACTURER.
std::span<const FileSpec> CollectionFileSpecs();

}  // namespace rk
