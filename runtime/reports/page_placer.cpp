#include "runtime/reports/page_placer.h"

namespace rk {

void PagePlacer::Hold(int id, int32_t height) {
  run_.push_back({id, height});
}

void PagePlacer::Place(int id, int32_t height) {
  run_.push_back({id, height});
  PlaceRun();
}

void PagePlacer::Flush() {
  if (!run_.empty()) PlaceRun();
}

void PagePlacer::PageFinished() {
  used_ = 0;
  bandsOnPage_ = 0;
}

void PagePlacer::PlaceRun() {
  int64_t total = 0;
  for (const Waiting& band : run_) total += band.height;
  if (bandsOnPage_ > 0 && used_ + total > areaHeight_) {
    sink_.FinishPage();
    PageFinished();
  }
  std::vector<Waiting> run;
  run.swap(run_);
  for (const Waiting& band : run) {
    sink_.PlaceBand(band.id, used_);
    used_ += band.height;
    ++bandsOnPage_;
  }
}

}  // namespace rk
