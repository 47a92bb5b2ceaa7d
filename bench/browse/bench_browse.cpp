// Browsing HTAPES in HTA:DESCRIPTION order on a collection of 1,000 tapes and
// on one of 1,000,000. Each step of a browse (browse_steps.h) is timed on both;
// the report gives its time on each, how many times longer it takes on the large
// collection (the aim is at most 1.5: a browse reads a page, not the file) and
// the records it read from the file. The collections are seeded, tapes only, in
// a temporary folder through the rkseed library and removed at the end.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "app/dictionary/data_dictionary.h"
#include "bench/browse/browse_steps.h"
#include "bench/browse/counted_reads.h"
#include "runtime/core/error_state.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "tools/rkseed/collection_seeder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using rk::bench::BrowseSteps;

constexpr int32_t kSmallTapes = 1000;
constexpr int32_t kLargeTapes = 1000000;
constexpr double kTargetRatio = 1.5;
// Each step runs in batches of about kBatchTime on the two collections in
// turn, kRounds times; a side's fastest batch counts, so that another program
// taking the machine for a moment does not count against either.
constexpr int kRounds = 5;
constexpr auto kBatchTime = std::chrono::milliseconds(20);

double Seconds(Clock::duration elapsed) {
  return std::chrono::duration<double>(elapsed).count();
}

// A seeded collection with its tape file open as a browse opens it, and the
// steps of a browse over it in HTA:DESCRIPTION order.
class Collection {
 public:
  Collection(const fs::path& folder, int32_t tapes) : folder_(folder) {
    fs::create_directories(folder_);
    rk::seed::SeedOptions options;
    options.directory = folder_.string();
    options.tapes = tapes;
    options.itemsPerTape = 0;
    options.videos = 0;
    Clock::time_point start = Clock::now();
    if (rk::seed::SeedCollection(options, std::cerr) != 0) return;
    std::printf("seeded %d tapes in %.1f s\n", tapes, Seconds(Clock::now() - start));

    name_ = (folder_ / "HTAPES").string();
    rk::FileSpec spec = rk::CollectionFileSpecs()[0];
    spec.storedName = name_.c_str();
    tapes_ = std::make_unique<rk::DeclaredFile>(spec, &rk::bench::CountingKmfEntry);
    OPEN(tapes_->file(), rk::kAccessReadWrite | rk::kDenyNone);
    if (rk::ErrorCode() != 0) return;
    steps_ = std::make_unique<BrowseSteps>(tapes_->file(), *tapes_->key("HTA:DESCRIPTION"));
    ready_ = steps_->OpenAtStart() == rk::bench::kPageRows;
  }
  ~Collection() {
    steps_.reset();
    if (tapes_) CLOSE(tapes_->file());
    tapes_.reset();
  }

  bool ready() const { return ready_; }
  BrowseSteps& steps() { return *steps_; }

 private:
  fs::path folder_;
  std::string name_;
  std::unique_ptr<rk::DeclaredFile> tapes_;
  std::unique_ptr<BrowseSteps> steps_;
  bool ready_ = false;
};

struct Step {
  const char* name;
  int (BrowseSteps::*run)();
  int rows;  // the rows it reads on either collection
};

constexpr Step kSteps[] = {
    {"open at start", &BrowseSteps::OpenAtStart, rk::bench::kPageRows},
    {"page down", &BrowseSteps::PageDown, rk::bench::kPageRows},
    {"line down at page edge", &BrowseSteps::LineDownAtPageEdge, 1},
    {"thumb table rebuild", &BrowseSteps::RebuildThumbTable, 2},
};

struct Measured {
  double micros = 1e300;  // one run, in the fastest batch
  long recordsRead = 0;   // one run
  bool rowsRight = true;
};

bool RunOnce(Collection& collection, const Step& step) {
  return (collection.steps().*step.run)() == step.rows;
}

void TimeBatch(Collection& collection, const Step& step, Measured& measured) {
  long runs = 0;
  Clock::time_point start = Clock::now();
  Clock::time_point end = start;
  do {
    measured.rowsRight &= RunOnce(collection, step);
    ++runs;
    end = Clock::now();
  } while (end - start < kBatchTime);
  measured.micros =
      std::min(measured.micros, Seconds(end - start) * 1e6 / static_cast<double>(runs));
}

Measured CountReads(Collection& collection, const Step& step) {
  Measured measured;
  long before = rk::bench::RecordsReadSoFar();
  measured.rowsRight = RunOnce(collection, step);
  measured.recordsRead = rk::bench::RecordsReadSoFar() - before;
  return measured;
}

// Prints the step's line; false when a run read other rows than it should.
bool MeasureStep(const Step& step, Collection& small, Collection& large) {
  Measured onSmall = CountReads(small, step);
  Measured onLarge = CountReads(large, step);
  for (int round = 0; round < kRounds; ++round) {
    TimeBatch(small, step, onSmall);
    TimeBatch(large, step, onLarge);
  }
  double ratio = onLarge.micros / onSmall.micros;
  std::printf("%-24s %9.2f us %9.2f us %7.2f%s %8ld / %ld\n", step.name, onSmall.micros,
              onLarge.micros, ratio, ratio > kTargetRatio ? " (over)" : "       ",
              onSmall.recordsRead, onLarge.recordsRead);
  if (!onSmall.rowsRight || !onLarge.rowsRight)
    std::fprintf(stderr, "bench_browse: %s did not read %d rows\n", step.name, step.rows);
  return onSmall.rowsRight && onLarge.rowsRight;
}

}  // namespace

int main() {
  fs::path folder = fs::temp_directory_path() / ("rk_bench_browse_" + std::to_string(getpid()));
  bool right = false;
  {
    Collection small(folder / "1k", kSmallTapes);
    Collection large(folder / "1M", kLargeTapes);
    if (small.ready() && large.ready()) {
      right = true;
      std::printf("%-24s %12s %12s %7s %7s %s\n", "HTA:DESCRIPTION step", "1k tapes", "1M tapes",
                  "1M/1k", "", "records read 1k / 1M");
      for (const Step& step : kSteps) right &= MeasureStep(step, small, large);
      std::printf("target: 1M/1k at most %.2f for every step\n", kTargetRatio);
    } else {
      std::fprintf(stderr, "bench_browse: the collections could not be seeded and opened\n");
    }
  }
  fs::remove_all(folder);
  return right ? 0 : 1;
}
