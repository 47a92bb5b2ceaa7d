// The application's per-thread data: the request and response globals that
// procedures pass each other, and the six per-file use counts. Every runtime
// thread sees its own copy, starting at zero.
#pragma once

#include <cstdint>

#include "app/collection_files.h"

namespace rk {

// What a caller asks of an update or select procedure, and how it ended.
inline constexpr int32_t kRequestInsert = 1;
inline constexpr int32_t kRequestChange = 2;
inline constexpr int32_t kRequestDelete = 3;
inline constexpr int32_t kRequestSelect = 4;
inline constexpr int32_t kResponseCompleted = 1;
inline constexpr int32_t kResponseCancelled = 2;

struct ApplicationThreadData {
  int32_t request = 0;
  int32_t response = 0;
  int32_t useCounts[kCollectionFileCount] = {};
};

// The running thread's copy; registered for per-thread instances on first use.
ApplicationThreadData& ThreadGlobals();
int32_t& GlobalRequest();
int32_t& GlobalResponse();
int32_t& UseCount(CollectionFileId file);

}  // namespace rk
