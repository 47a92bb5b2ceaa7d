// Text comparison cost: the value stack's CompareTop (push two field texts by
// reference, compare under the collating weights, pop) and CompareCollated,
// each against strcmp on the same texts in the same run. The ratio to strcmp is
// printed at the end, so the figure does not depend on the machine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/common/ratio_reporter.h"
#include "runtime/core/collation.h"
#include "runtime/core/value_stack.h"

namespace {

// Pairs of 40-character space-padded names that share a prefix of random
// length, as neighbouring keys of a sorted file do.
std::vector<std::pair<std::string, std::string>> MakePairs() {
  std::mt19937 rng(42);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (int i = 0; i < 256; ++i) {
    std::string a(40, ' ');
    int used = 8 + static_cast<int>(rng() % 28);
    for (int k = 0; k < used; ++k) a[k] = static_cast<char>('A' + rng() % 26);
    std::string b = a;
    int differ = static_cast<int>(rng() % used);
    b[differ] = static_cast<char>('A' + rng() % 26);
    pairs.emplace_back(a, b);
  }
  return pairs;
}

const std::vector<std::pair<std::string, std::string>>& Pairs() {
  static const auto pairs = MakePairs();
  return pairs;
}

void Strcmp(benchmark::State& state) {
  for (auto _ : state) {
    for (const auto& [a, b] : Pairs()) benchmark::DoNotOptimize(std::strcmp(a.c_str(), b.c_str()));
  }
}

void CompareTop(benchmark::State& state) {
  rk::ValueStack& values = rk::Values();
  for (auto _ : state) {
    for (const auto& [a, b] : Pairs()) {
      values.PushText(a);
      values.PushText(b);
      benchmark::DoNotOptimize(values.CompareTop());
    }
  }
}

void CompareCollated(benchmark::State& state) {
  for (auto _ : state) {
    for (const auto& [a, b] : Pairs()) {
      benchmark::DoNotOptimize(rk::CompareCollated(a.c_str(), b.c_str()));
    }
  }
}

BENCHMARK(Strcmp);
BENCHMARK(CompareTop);
BENCHMARK(CompareCollated);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  rk::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("CompareTop", "Strcmp");
  reporter.PrintRatio("CompareCollated", "Strcmp");
  benchmark::Shutdown();
  return 0;
}
