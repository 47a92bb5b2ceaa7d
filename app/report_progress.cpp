#include "app/report_progress.h"

#include <algorithm>

#include "runtime/core/picture_format.h"

namespace rk {

bool ReportProgress::Count() {
  ++processed_;
  // Records added by another station after the count was taken would carry the
  // figure past 100; a file counted empty is done as soon as anything is read.
  if (percentage_ < 100) {
    int64_t figure = toProcess_ > 0 ? int64_t{processed_} * 100 / toProcess_ : 100;
    percentage_ = static_cast<uint8_t>(std::min<int64_t>(figure, 100));
  }
  if (percentage_ == shown_) return false;
  shown_ = percentage_;
  return true;
}

std::string ReportProgress::Text() const {
  return FormatText(std::to_string(percentage_), "N3") + "% Completed";
}

}  // namespace rk
