// The home tree on a collection of 1,000 tapes and on one of 100,000, driven as
// a person drives it: chosen from the menu (the first build), three tapes
// opened, and a tape changed through its form and saved, which builds the
// tree again with the three still open. A build reads every tape, so its time
// grows with the collection; the report gives each step's time, its time per
// tape, and how the time per tape on the large collection compares with the
// small one (about 1 when a build costs the same for every tape), with the
// records read. The collections are seeded in a temporary folder through the
// rkseed library and removed at the end.
#include <unistd.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
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
constexpr int32_t kLargeTapes = 100000;
constexpr int32_t kItemsPerTape = 2;
constexpr int kRounds = 2;  // each collection's fastest round counts
constexpr int kOpened = 3;  // tapes opened before the rebuild
constexpr int32_t kHomeTreeItem = -12;
constexpr int32_t kExitItem = -2;
constexpr int32_t kTreeThread = 2;
constexpr const char* kTreeTitle = "TREE BROWSE COMPILATIONS";

enum Step { kOpen, kExpand, kRebuild, kStepCount };
constexpr const char* kStepNames[] = {"open the tree (first build)", "open one tape's node",
                                      "change a tape, build again"};

struct Measured {
  double micros = 1e300;
  double reads = 0;
};
using Results = std::array<Measured, kStepCount>;

uint64_t Reads() {
  return rk::DriverCalls(rk::kOpNext) + rk::DriverCalls(rk::kOpPrevious) +
         rk::DriverCalls(rk::kOpRegetFile) + rk::DriverCalls(rk::kOpRegetKey);
}

double Seconds(Clock::duration elapsed) {
  return std::chrono::duration<double>(elapsed).count();
}

bool Seed(const fs::path& folder, int32_t tapes) {
  fs::create_directories(folder);
  std::ofstream(folder / "README.TXT", std::ios::binary) << "Tree benchmark\r\n";
  rk::seed::SeedOptions options;
  options.directory = folder.string();
  options.tapes = tapes;
  options.itemsPerTape = kItemsPerTape;
  options.videos = 0;
  Clock::time_point start = Clock::now();
  if (rk::seed::SeedCollection(options, std::cerr) != 0) return false;
  std::printf("seeded %d tapes with %d items each in %.1f s\n", tapes, kItemsPerTape,
              Seconds(Clock::now() - start));
  return true;
}

template <typename Act>
void Time(Measured& measured, int runs, Act act) {
  uint64_t readsBefore = Reads();
  Clock::time_point start = Clock::now();
  for (int i = 0; i < runs; ++i) act(i);
  double micros = Seconds(Clock::now() - start) * 1e6 / runs;
  if (micros < measured.micros) {
    measured.micros = micros;
    measured.reads = static_cast<double>(Reads() - readsBefore) / runs;
  }
}

rk::platform::ListWidget* List() {
  return rk::drive::ListOf(kTreeThread);
}

bool TitleIs(const char* title) {
  rk::Window* window = rk::CurrentWindowOf(kTreeThread);
  return window && window->IsOpen() && window->title == title;
}

void Press(const QString& text) {
  rk::Window* window = rk::CurrentWindowOf(kTreeThread);
  for (const auto& control : window->controls) {
    auto* button = dynamic_cast<QPushButton*>(control->Widget());
    if (button && button->text() == text) button->click();
  }
  rk::drive::RunOnce();
}

void ClickAt(QPointF at, Qt::MouseButton button) {
  QMouseEvent press(QEvent::MouseButtonPress, at, List()->mapToGlobal(at), button, button,
                    Qt::NoModifier);
  QApplication::sendEvent(List(), &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, List()->mapToGlobal(at), button, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(List(), &release);
}

// Opens the first closed tape shown and waits for its items.
bool ExpandNext() {
  const auto& rows = List()->Rows();
  int shown = -1;
  for (size_t row = 0; row < rows.size() && shown < 0; ++row) {
    if (!rows[row].empty() && rows[row][0].level == 1) shown = static_cast<int>(row);
  }
  if (shown < 0) return false;
  ClickAt(List()->NodeRect(shown).center(), Qt::LeftButton);
  return rk::drive::RunUntil([&] { return List()->NodeOf(shown) == rk::platform::ListNode::kOpen; },
                             60000);
}

bool Round(Results& results) {
  if (!rk::drive::StartPastStartWindow()) return false;
  bool right = true;
  Time(results[kOpen], 1, [&](int) {
    rk::drive::ChooseMenu(kHomeTreeItem);
    right = rk::drive::RunUntil([] { return List() && List()->Rows().size() > 1; }, 600000);
  });
  for (int i = 0; right && i < kOpened; ++i) {
    Time(results[kExpand], 1, [&](int) { right = ExpandNext(); });
  }
  if (!right) return false;
  ClickAt(List()->RowRect(1).center(), Qt::LeftButton);
  rk::drive::RunOnce();
  Time(results[kRebuild], 1, [&](int) {
    Press("&Change");
    right = rk::drive::RunUntil([] { return TitleIs("Changing a HTAPES Record"); }, 60000);
    Press("OK");
    right = right && rk::drive::RunUntil([] { return TitleIs(kTreeTitle); }, 600000);
    rk::drive::RunOnce();
  });
  rk::drive::ChooseMenu(kExitItem);
  return right && rk::drive::RunUntil([] { return rk::UsedSlots() == 0; }, 60000);
}

// A tape is reached through the serial number's key, which holds at most
// 32,767 tapes (a SHORT): the tapes a build visits are counted from its reads
// (each tape once, one look at its items, and the end of the file).
double TapesVisited(const Results& results) {
  return (results[kOpen].reads - 1) / 2;
}

void Report(const Results& small, const Results& large) {
  double smallTapes = TapesVisited(small);
  double largeTapes = TapesVisited(large);
  std::printf("tapes seeded %d / %d; tapes in the serial key, visited by a build: %.0f / %.0f\n",
              kSmallTapes, kLargeTapes, smallTapes, largeTapes);
  std::printf("%-30s %12s %12s %10s %10s %8s  %s\n", "home tree step", "small", "large",
              "us/tape S", "us/tape L", "ratio", "records read S / L");
  for (int step = 0; step < kStepCount; ++step) {
    double perSmall = small[step].micros / smallTapes;
    double perLarge = large[step].micros / largeTapes;
    std::printf("%-30s %9.0f us %9.0f us %10.2f %10.2f %8.2f  %.0f / %.0f\n", kStepNames[step],
                small[step].micros, large[step].micros, perSmall, perLarge, perLarge / perSmall,
                small[step].reads, large[step].reads);
  }
  std::printf(
      "ratio: time per tape on the large collection over the small one (about 1 when a step\n"
      "costs the same for every tape; a node's opening does not grow with the collection).\n"
      "A build reads each tape once and one item per closed tape; the change step also\n"
      "counts what the tape form reads.\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  fs::path folder = fs::temp_directory_path() / ("rk_bench_trees_" + std::to_string(getpid()));
  fs::path small = folder / "1k";
  fs::path large = folder / "100k";
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
    std::fprintf(stderr, "bench_trees: the tree could not be driven on both collections\n");
    std::fflush(stdout);
  }
  fs::remove_all(folder);
  return right ? 0 : 1;
}
