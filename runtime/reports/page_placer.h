// Page overflow and keep-together for the bands of the detail area.
//
// The rule: a band that must stay with the next one (a group header, or a band
// flagged keep-with-next) is held back until a band that need not stay with
// anything arrives; the held bands and that band then form one run that is placed
// as a whole. When at least one band is already on the page and the run does not
// fit below it, the page is finished and the run starts the next page. A run
// never splits: if it is taller than the whole detail area it is placed alone on
// a page anyway and runs past the area's foot. A group header therefore never
// ends a page without its first detail.
#pragma once

#include <cstdint>
#include <vector>

namespace rk {

class PlacementSink {
 public:
  virtual ~PlacementSink() = default;
  // The current page is full: finish it (the next placement starts a new page).
  virtual void FinishPage() = 0;
  // Put band `id` at `y`, measured from the top of the detail area.
  virtual void PlaceBand(int id, int32_t y) = 0;
};

class PagePlacer {
 public:
  PagePlacer(int32_t areaHeight, PlacementSink& sink) : areaHeight_(areaHeight), sink_(sink) {}

  // A band that stays with the band placed after it.
  void Hold(int id, int32_t height);
  // A band that ends a run: places every held band and this one.
  void Place(int id, int32_t height);
  // Places the held bands, if any, as a run of their own.
  void Flush();
  // The page was finished from outside (ENDPAGE).
  void PageFinished();

  int32_t Used() const { return used_; }
  int BandsOnPage() const { return bandsOnPage_; }

 private:
  struct Waiting {
    int id;
    int32_t height;
  };
  void PlaceRun();

  int32_t areaHeight_;
  PlacementSink& sink_;
  std::vector<Waiting> run_;
  int32_t used_ = 0;
  int bandsOnPage_ = 0;
};

}  // namespace rk
