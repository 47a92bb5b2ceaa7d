// The tape browse on a collection of 1,000 tapes and on one of 1,000,000, driven
// as a person drives it: chosen from the menu, turned to the title order, paged
// down, moved a line past the page's edge, and its thumb dragged. Each step is
// timed on both collections; the report gives how many times longer it takes on
// the large one (the aim is at most 1.5: a browse reads a page, never the file)
// and the records it read. The collections are seeded, tapes only, in a
// temporary folder through the rkseed library and removed at the end.
#include <unistd.h>

#include <QApplication>
#include <QScrollBar>
#include <QTabBar>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/application_procedures.h"
#include "runtime/core/environment_file.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/windows/control.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"
#include "tools/drive/program_driver.h"
#include "tools/rkseed/collection_seeder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int32_t kSmallTapes = 1000;
constexpr int32_t kLargeTapes = 1000000;
constexpr double kTargetRatio = 1.5;
constexpr int kRounds = 3;    // each collection's fastest round counts
constexpr int kRepeats = 40;  // runs of a repeated step in one round
constexpr int32_t kBrowseTapesItem = -6;
constexpr int32_t kExitItem = -2;
constexpr int32_t kBrowseThread = 2;
constexpr int kSheet = 5;
constexpr int kTitleTab = 1;

enum Step { kOpen, kTitleOrder, kPageDown, kLineDown, kThumbDrag, kStepCount };
constexpr const char* kStepNames[] = {"open the browse", "turn to the title order", "page down",
                                      "line down at the page edge", "thumb drag"};

struct Measured {
  double micros = 1e300;  // one run, in the fastest round
  double reads = 0;       // one run
};
using Results = std::array<Measured, kStepCount>;

int rowsShown = 0;  // by the browse's list

uint64_t Reads() {
  return rk::DriverCalls(rk::kOpNext) + rk::DriverCalls(rk::kOpPrevious) +
         rk::DriverCalls(rk::kOpRegetFile) + rk::DriverCalls(rk::kOpRegetKey);
}

double Seconds(Clock::duration elapsed) {
  return std::chrono::duration<double>(elapsed).count();
}

bool Seed(const fs::path& folder, int32_t tapes) {
  fs::create_directories(folder);
  std::ofstream(folder / "README.TXT", std::ios::binary) << "Browse benchmark\r\n";
  rk::seed::SeedOptions options;
  options.directory = folder.string();
  options.tapes = tapes;
  options.itemsPerTape = 0;
  options.videos = 0;
  Clock::time_point start = Clock::now();
  if (rk::seed::SeedCollection(options, std::cerr) != 0) return false;
  std::printf("seeded %d tapes in %.1f s\n", tapes, Seconds(Clock::now() - start));
  return true;
}

// Times `runs` runs of `act`, each followed by the program settling; keeps the
// round's time and reads per run when they beat the step's best so far.
template <typename Act>
void Time(Measured& measured, int runs, Act act) {
  uint64_t readsBefore = Reads();
  Clock::time_point start = Clock::now();
  for (int i = 0; i < runs; ++i) {
    act(i);
    rk::drive::RunOnce();
  }
  double micros = Seconds(Clock::now() - start) * 1e6 / runs;
  if (micros < measured.micros) {
    measured.micros = micros;
    measured.reads = static_cast<double>(Reads() - readsBefore) / runs;
  }
}

rk::platform::ListWidget* List() {
  return rk::drive::ListOf(kBrowseThread);
}

void Key(int key) {
  rk::drive::SendKey(*List(), key);
}

// One run of the program on the collection in the current folder.
bool Round(Results& results) {
  if (!rk::drive::StartPastStartWindow()) return false;
  Time(results[kOpen], 1, [](int) {
    rk::drive::ChooseMenu(kBrowseTapesItem);
    rk::drive::RunUntil([] { return List() && !List()->Rows().empty(); });
  });
  rk::Window* window = rk::CurrentWindowOf(kBrowseThread);
  auto* tabs = window ? window->FindControl(kSheet)->Widget()->findChild<QTabBar*>() : nullptr;
  if (!tabs) return false;
  Time(results[kTitleOrder], 1, [&](int) { tabs->setCurrentIndex(kTitleTab); });
  // Paging starts at the top: far enough from the end of the small collection.
  Key(Qt::Key_Home);
  rk::drive::RunOnce();
  rowsShown = List()->WholeRowsShown();
  Time(results[kPageDown], kRepeats, [](int) { Key(Qt::Key_PageDown); });
  for (int i = 0; i < List()->WholeRowsShown(); ++i) {
    Key(Qt::Key_Down);
    rk::drive::RunOnce();
  }
  Time(results[kLineDown], kRepeats, [](int) { Key(Qt::Key_Down); });
  QScrollBar& bar = List()->ScrollBar();
  Time(results[kThumbDrag], kRepeats, [&](int i) {
    bar.setSliderPosition(5 + (i * 37) % 90);
    emit bar.sliderReleased();
  });
  rk::drive::ChooseMenu(kExitItem);
  return rk::drive::RunUntil([] { return rk::UsedSlots() == 0; }, 60000);
}

void Report(const Results& small, const Results& large) {
  std::printf("%-28s %12s %12s %7s %8s %s\n", "tape browse step", "1k tapes", "1M tapes", "1M/1k",
              "", "records read 1k / 1M");
  for (int step = 0; step < kStepCount; ++step) {
    double ratio = large[step].micros / small[step].micros;
    std::printf("%-28s %9.0f us %9.0f us %7.2f%s %8.1f / %.1f\n", kStepNames[step],
                small[step].micros, large[step].micros, ratio,
                ratio > kTargetRatio ? " (over)" : "       ", small[step].reads, large[step].reads);
  }
  std::printf(
      "rows shown: %d; targets: 1M/1k at most %.2f; a page step reads at most the rows\n"
      "shown + 2, a line step 1, a thumb table 2 (part of turning to an order)\n",
      rowsShown, kTargetRatio);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path folder = fs::temp_directory_path() / ("rk_bench_browse_" + std::to_string(getpid()));
  fs::path small = folder / "1k";
  fs::path large = folder / "1M";
  fs::path previous = fs::current_path();
  // Seeded before the file layer is joined to the runtime threads: the seeder's
  // files are its own, and must not become per-thread instances that outlive it.
  bool right = Seed(small, kSmallTapes) && Seed(large, kLargeTapes);

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  rk::platform::InstallFontSubstitutions();
  rk::InitializeEnvironment();
  rk::ConnectFileLayerToThreads();
  rk::RegisterApplicationProcedures();
  Results onSmall;
  Results onLarge;
  for (int round = 0; right && round < kRounds; ++round) {
    fs::current_path(small);
    right = Round(onSmall);
    fs::current_path(large);
    right = right && Round(onLarge);
  }
  fs::current_path(previous);
  if (right) {
    Report(onSmall, onLarge);
  } else {
    std::fprintf(stderr, "bench_browse: the browse could not be driven on both collections\n");
  }
  fs::remove_all(folder);
  return right ? 0 : 1;
}
