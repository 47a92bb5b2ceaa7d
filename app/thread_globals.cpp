#include "app/thread_globals.h"

#include "runtime/windows/thread_instances.h"

namespace rk {

ApplicationThreadData& ThreadGlobals() {
  static ApplicationThreadData data;
  // Registered while all of it is zero: that snapshot is every new thread's start.
  static const bool registered = [] {
    ThreadInstances().Register(&data, sizeof data, 0);
    return true;
  }();
  (void)registered;
  return data;
}

int32_t& GlobalRequest() {
  return ThreadGlobals().request;
}

int32_t& GlobalResponse() {
  return ThreadGlobals().response;
}

int32_t& UseCount(CollectionFileId file) {
  return ThreadGlobals().useCounts[static_cast<int>(file)];
}

}  // namespace rk
