// The KMF driver's entry with a count of the records it reads, so that a
// benchmark can tell how many records a step of a browse costs, whatever the
// view engine does on the way.
#pragma once

#include <cstdint>

#include "runtime/files/file_descriptor.h"

namespace rk::bench {

// Forwards every call to the KMF driver; NEXT, PREVIOUS, GET and REGET count.
int32_t CountingKmfEntry(int32_t code, FileObject* object, const intptr_t* args);
long RecordsReadSoFar();

}  // namespace rk::bench
