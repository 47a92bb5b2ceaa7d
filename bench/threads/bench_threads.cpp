// Handing control between runtime threads: a message travels from one runtime
// thread to another and back, through the fiber scheduler's queues, against the
// same ping-pong between two OS threads handing over a mutex and condition
// variable (the cost of a runtime lock taken by real threads), in the same run.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "bench/common/ratio_reporter.h"
#include "runtime/platform/qt/scheduler.h"

namespace {

constexpr int kRoundTrips = 1000;

using rk::platform::FiberId;
using rk::platform::MessageKind;
using rk::platform::Scheduler;

void FiberPingPong(benchmark::State& state) {
  for (auto _ : state) {
    Scheduler scheduler;
    FiberId ping = 0;
    FiberId pong = scheduler.Spawn(
        [&] {
          for (int i = 0; i < kRoundTrips; ++i) {
            scheduler.WaitMessage();
            scheduler.Post(ping, {MessageKind::kKey, 0, i, nullptr});
          }
        },
        0);
    ping = scheduler.Spawn(
        [&] {
          for (int i = 0; i < kRoundTrips; ++i) {
            scheduler.Post(pong, {MessageKind::kKey, 0, i, nullptr});
            scheduler.WaitMessage();
          }
        },
        0);
    scheduler.Run(ping);
  }
}

void OsThreadPingPong(benchmark::State& state) {
  for (auto _ : state) {
    std::mutex mutex;
    std::condition_variable changed;
    bool pingsTurn = true;
    auto play = [&](bool isPing) {
      for (int i = 0; i < kRoundTrips; ++i) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return pingsTurn == isPing; });
        pingsTurn = !isPing;
        changed.notify_one();
      }
    };
    std::thread pong(play, false);
    play(true);
    pong.join();
  }
}

BENCHMARK(FiberPingPong)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(OsThreadPingPong)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The OS threads spend their time in two threads and in waits, so the two are
// compared by elapsed time, not by the calling thread's CPU time.
class ElapsedRatioReporter : public rk::bench::RatioReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) elapsed_[run.benchmark_name()] = run.GetAdjustedRealTime();
    RatioReporter::ReportRuns(runs);
  }
  void PrintElapsedRatio(const std::string& ours, const std::string& peer) const {
    auto a = elapsed_.find(ours);
    auto b = elapsed_.find(peer);
    if (a == elapsed_.end() || b == elapsed_.end() || b->second <= 0) return;
    std::printf("%s / %s (elapsed): %.3f\n", ours.c_str(), peer.c_str(), a->second / b->second);
  }

 private:
  std::map<std::string, double> elapsed_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  ElapsedRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintElapsedRatio("FiberPingPong/real_time", "OsThreadPingPong/real_time");
  benchmark::Shutdown();
  return 0;
}
