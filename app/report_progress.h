// The percentage a report's progress window shows: records read against the
// count taken when the run began. The whole-number value is shown again only
// when it changes, so that a long run does not redraw on every record.
#pragma once

#include <cstdint>
#include <string>

namespace rk {

class ReportProgress {
 public:
  // `toProcess` is the file's record count at the start.
  explicit ReportProgress(int32_t toProcess) : toProcess_(toProcess) {}

  // Counts one record read; true when the percentage now differs from the one
  // shown last (and it counts as shown from here on).
  bool Count();

  // The BYTE the progress bar is bound to.
  uint8_t* percentage() { return &percentage_; }
  int32_t processed() const { return processed_; }
  // "nn% Completed", the number through the picture @N3.
  std::string Text() const;

 private:
  int32_t toProcess_;
  int32_t processed_ = 0;
  uint8_t percentage_ = 0;
  uint8_t shown_ = 0;
};

}  // namespace rk
