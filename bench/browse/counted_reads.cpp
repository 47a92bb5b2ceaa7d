#include "bench/browse/counted_reads.h"

#include "runtime/files/kmf_driver.h"
#include "runtime/files/operation_codes.h"

namespace rk::bench {
namespace {

long recordsRead = 0;

bool ReadsARecord(int32_t code) {
  switch (code) {
    case kOpNext:
    case kOpPrevious:
    case kOpGetByKey:
    case kOpGetByPointer:
    case kOpGetKeyPointer:
    case kOpRegetFile:
    case kOpRegetKey:
      return true;
    default:
      return false;
  }
}

}  // namespace

int32_t CountingKmfEntry(int32_t code, FileObject* object, const intptr_t* args) {
  if (ReadsARecord(code)) ++recordsRead;
  return KmfEntry(code, object, args);
}

long RecordsReadSoFar() {
  return recordsRead;
}

}  // namespace rk::bench
