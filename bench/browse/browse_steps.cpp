#include "bench/browse/browse_steps.h"

#include "runtime/core/error_state.h"
#include "runtime/files/file_statements.h"

namespace rk::bench {
namespace {

constexpr int32_t kRecordNotAvailable = 33;

}  // namespace

BrowseSteps::BrowseSteps(FileDescriptor& file, KeyDescriptor& order)
    : order_(order), view_({PrimaryFile(file)}) {}

BrowseSteps::~BrowseSteps() {
  CLOSE(view_);
}

int BrowseSteps::ReadRows(int rows, bool forward) {
  int read = 0;
  for (; read < rows; ++read) {
    if (forward) {
      NEXT(view_);
    } else {
      PREVIOUS(view_);
    }
    if (ErrorCode() == kRecordNotAvailable) break;
    if (ErrorCode() != 0) return -1;
    position_ = POSITION(view_);
  }
  return read;
}

bool BrowseSteps::ReturnToPageEdge() {
  RESET(view_, lastRowOfFirstPage_);
  if (ErrorCode() != 0) return false;
  return ReadRows(1, true) == 1;
}

int BrowseSteps::OpenAtStart() {
  CLOSE(view_);
  SET(order_);
  OPEN(view_, kAccessReadWrite | kDenyWrite);
  int read = ReadRows(kPageRows, true);
  if (read > 0) lastRowOfFirstPage_ = position_;
  return read;
}

int BrowseSteps::PageDown() {
  if (!ReturnToPageEdge()) return -1;
  return ReadRows(kPageRows, true);
}

int BrowseSteps::LineDownAtPageEdge() {
  if (!ReturnToPageEdge()) return -1;
  return ReadRows(1, true);
}

int BrowseSteps::RebuildThumbTable() {
  SET(view_);
  int last = ReadRows(1, false);
  SET(view_);
  int first = ReadRows(1, true);
  return last < 0 || first < 0 ? -1 : last + first;
}

}  // namespace rk::bench
