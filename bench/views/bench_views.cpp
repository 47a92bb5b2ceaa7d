// Range limits of views: the items of one tape among 10,000 tapes of 10 items,
// read through a view of ITEMS in ITE:SERIAL_NO order filtered by the link
// "ITE:SERIAL = HTA:SERIAL". RangeLimited is the view as the browses use it;
// FullScan is the same walk with the limits defeated ("OR 1 = 0" bounds
// nothing), so it reads the whole file and filters every record. Reported:
// records read per record yielded (the limited walk should stay at or below
// 1.1) and how many times longer the full scan takes than the limited walk.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/dictionary/data_dictionary.h"
#include "bench/common/ratio_reporter.h"
#include "runtime/core/error_state.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/field_compare.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/view.h"

namespace {

constexpr int kTapes = 10000;
constexpr int kItemsPerTape = 10;
constexpr int16_t kWantedTape = 6183;

long recordsRead = 0;
double limitedReadsPerRow = 0;

int32_t CountingEntry(int32_t code, rk::FileObject* object, const intptr_t* args) {
  if (code == rk::kOpNext || code == rk::kOpPrevious) ++recordsRead;
  return rk::KmfEntry(code, object, args);
}

// The ITEMS file, filled once, in a temporary directory.
class ItemsFile {
 public:
  ItemsFile() {
    dir_ = std::filesystem::temp_directory_path() / ("rk_bench_views_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    name_ = (dir_ / "ITEMS").string();
    rk::FileSpec spec = rk::CollectionFileSpecs()[1];
    spec.storedName = name_.c_str();
    spec.attributes = rk::kFileAttrCreate;  // one thread: no per-thread instances
    items_ = std::make_unique<rk::DeclaredFile>(spec, &CountingEntry);
    CREATE(file());
    OPEN(file());
    STREAM(file());
    for (int tape = 1; tape <= kTapes; ++tape) {
      for (int item = 0; item < kItemsPerTape; ++item) {
        items_->setLong("ITE:SERIAL", tape);
        items_->setLong("ITE:DATE", 70000 + item);
        items_->setText("ITE:DESCRIPTION", "Item " + std::to_string(item) + " of tape");
        ADD(file());
      }
    }
    FLUSH(file());
    for (const rk::FieldInfo& field : items_->fields())
      rk::Bind(field.name, rk::FieldValueRef(field, items_->record()));
    rk::Bind("HTA:SERIAL", rk::MakeValueRef(rk::kShort, -1, 0, &parentSerial_));
    parentSerial_ = kWantedTape;
  }
  ~ItemsFile() {
    CLOSE(file());
    items_.reset();
    std::filesystem::remove_all(dir_);
  }

  rk::FileDescriptor& file() { return items_->file(); }
  rk::KeyDescriptor& serialKey() { return items_->key(1); }

 private:
  std::filesystem::path dir_;
  std::string name_;
  std::unique_ptr<rk::DeclaredFile> items_;
  int16_t parentSerial_ = 0;
};

ItemsFile& Items() {
  static ItemsFile items;
  return items;
}

// One walk of the tape's items through a view with the given filter.
// Answers the records read per record yielded.
double WalkTape(benchmark::State& state, const char* filter) {
  ItemsFile& items = Items();
  rk::View view({rk::PrimaryFile(items.file())});
  rk::SetProperty(view, rk::kPropFilter, filter);
  long yielded = 0;
  recordsRead = 0;
  for (auto _ : state) {
    SET(items.serialKey());
    for (NEXT(view); rk::ErrorCode() == 0; NEXT(view)) ++yielded;
  }
  CLOSE(view);
  if (yielded != static_cast<long>(state.iterations()) * kItemsPerTape)
    state.SkipWithError("the view did not yield the tape's items");
  double readsPerRow =
      static_cast<double>(recordsRead) / static_cast<double>(std::max(yielded, 1L));
  state.counters["reads_per_row"] = readsPerRow;
  return readsPerRow;
}

void RangeLimited(benchmark::State& state) {
  limitedReadsPerRow = WalkTape(state, "ITE:SERIAL = HTA:SERIAL");
}

void FullScan(benchmark::State& state) {
  WalkTape(state, "(ITE:SERIAL = HTA:SERIAL) OR 1 = 0");
}

BENCHMARK(RangeLimited);
BENCHMARK(FullScan);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Items();  // filled before anything is timed
  rk::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("FullScan", "RangeLimited");
  std::printf("RangeLimited records read per record yielded: %.2f (target at most 1.1)\n",
              limitedReadsPerRow);
  benchmark::Shutdown();
  return 0;
}
