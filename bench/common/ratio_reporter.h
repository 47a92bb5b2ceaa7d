// A console reporter that also keeps each benchmark's time per iteration, so a
// benchmark program can print how its own code compares with a peer measured in
// the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace rk::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) nanos_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints "ours / peer: ratio"; nothing when either did not run.
  void PrintRatio(const std::string& ours, const std::string& peer) const {
    auto a = nanos_.find(ours);
    auto b = nanos_.find(peer);
    if (a == nanos_.end() || b == nanos_.end() || b->second <= 0) return;
    std::printf("%s / %s: %.2f\n", ours.c_str(), peer.c_str(), a->second / b->second);
  }

 private:
  std::map<std::string, double> nanos_;
};

}  // namespace rk::bench
