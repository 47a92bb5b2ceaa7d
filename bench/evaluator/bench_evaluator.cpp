// A record filter evaluated through a compiled expression tree, against the same
// test written by hand in C++, over the same records.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "bench/common/ratio_reporter.h"
#include "runtime/core/clipped_text.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_symbols.h"

namespace {

struct Record {
  int32_t serial;
  char name[20];
};

constexpr const char* kFilter = "REC:SERIAL >= 100 AND REC:SERIAL <= 200 AND REC:NAME = 'SMITH'";

std::vector<Record> Records() {
  std::vector<Record> records(256);
  const char* names[] = {"SMITH", "JONES", "SMITHSON", "BROWN"};
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].serial = static_cast<int32_t>(i * 7 % 300);
    std::memset(records[i].name, ' ', sizeof records[i].name);
    std::string_view name = names[i % 4];
    std::memcpy(records[i].name, name.data(), name.size());
  }
  return records;
}

bool HandWritten(const Record& record) {
  std::string_view name = rk::ClipRight({record.name, sizeof record.name});
  return record.serial >= 100 && record.serial <= 200 && name == "SMITH";
}

void HandWrittenFilter(benchmark::State& state) {
  std::vector<Record> records = Records();
  for (auto _ : state) {
    for (const Record& record : records) benchmark::DoNotOptimize(HandWritten(record));
  }
  state.SetItemsProcessed(state.iterations() * records.size());
}

void CompiledFilter(benchmark::State& state) {
  std::vector<Record> records = Records();
  Record current{};
  rk::Bind("REC:SERIAL", rk::MakeValueRef(rk::kLong, -1, 0, &current.serial));
  rk::Bind("REC:NAME", rk::MakeValueRef(rk::kString, sizeof current.name, 0, current.name));
  rk::ExprTree filter = rk::Evaluate(kFilter);
  if (!filter) {
    state.SkipWithError("the filter did not parse");
    return;
  }
  for (auto _ : state) {
    for (const Record& record : records) {
      current = record;  // the file layer reads each record into the bound buffer
      benchmark::DoNotOptimize(rk::EvaluateAsTruth(*filter));
    }
  }
  state.SetItemsProcessed(state.iterations() * records.size());
  rk::Unbind();
}

BENCHMARK(HandWrittenFilter);
BENCHMARK(CompiledFilter);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  rk::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("per evaluation over 256 records; ");
  reporter.PrintRatio("CompiledFilter", "HandWrittenFilter");
  benchmark::Shutdown();
  return 0;
}
