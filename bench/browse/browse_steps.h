// The reads that a browse makes, one function per step, through a view of the
// browsed file and the file statements only: the steps that scrolling a list
// costs, so that they can be timed on a small and on a large file. Each step
// starts from the same place every time it runs (the first page of the order),
// so a step can be repeated for timing without walking off the end.
#pragma once

#include <string>

#include "runtime/files/file_descriptor.h"
#include "runtime/files/view.h"

namespace rk::bench {

// Rows of one page of the list.
inline constexpr int kPageRows = 20;

class BrowseSteps {
 public:
  // A view of `file` (open) in the order of `order`, one of its keys.
  BrowseSteps(FileDescriptor& file, KeyDescriptor& order);
  ~BrowseSteps();
  BrowseSteps(const BrowseSteps&) = delete;
  BrowseSteps& operator=(const BrowseSteps&) = delete;

  // Each step answers the rows it read, or -1 when a read failed otherwise
  // than at the end of the view.

  // The first page: the key set to its start, the view opened and a page read
  // forward, each row's position taken as the list keeps it.
  int OpenAtStart();
  // The page below the first: the view reset to the first page's last row,
  // that row read again, then a page forward.
  int PageDown();
  // One line below the first page: reset to its last row, read again, one more.
  int LineDownAtPageEdge();
  // The two ends of the order that the thumb table spans: from the start of
  // the key the previous record (the last), and again the next (the first).
  int RebuildThumbTable();

 private:
  // Reads up to `rows` rows; the end of the view stops it early.
  int ReadRows(int rows, bool forward);
  // RESET to the first page's last row and read that row again.
  bool ReturnToPageEdge();

  KeyDescriptor& order_;
  View view_;
  std::string lastRowOfFirstPage_;  // its POSITION, taken by OpenAtStart
  std::string position_;            // the latest row's, as a list entry keeps it
};

}  // namespace rk::bench
