// The KMF driver against SQLite on the same home-tape records, in the same run,
// on the same filesystem, with equal durability: every KMF write-back ends with
// fsync, SQLite runs with synchronous=FULL. KMF is reached only through the file
// and transaction statements, as the application reaches it. Each line prints
// both wall-clock times and their ratio; the ratio is the figure to read, the
// times depend on the machine. The bulk load in one transaction, the scans, the
// GETs and the PUTs run in three rounds, the two sides taking turns at going
// first, and each side's fastest round counts: on a shared machine single
// rounds vary by more than the differences measured here.
//
// Usage: bench_kmf [tapes] [lines]
//   tapes  default 100000; smaller counts for profiling
//   lines  the digits of the lines to measure, e.g. 34 (default: every line).
//          The bulk load always runs, since every later line reads its file;
//          without line 2 the later tapes are loaded in one transaction.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "bench/kmf/bench_checks.h"
#include "bench/kmf/kmf_tape_store.h"
#include "bench/kmf/sqlite_tape_store.h"
#include "bench/kmf/tape_records.h"
#include "runtime/files/kmf_check.h"

namespace rk::bench {
namespace {

constexpr int32_t kDurableInserts = 1000;
constexpr int32_t kRetitles = 10000;
// STREAM writes back whenever 40 pages are pending, each write-back with its
// flushes, so a full load in STREAM mode would take minutes: that line loads
// fewer tapes, against SQLite loading the same tapes in one transaction.
constexpr int32_t kStreamedTapes = 10000;

// Wall-clock time, which counts the waits for the disk, and the process's CPU
// time, which a machine shared with other work disturbs less.
struct Cost {
  double wallMs = 0;
  double cpuMs = 0;
};

double CpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <typename Work>
Cost Measure(Work&& work) {
  auto start = std::chrono::steady_clock::now();
  double cpuStart = CpuMilliseconds();
  work();
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return {elapsed.count(), CpuMilliseconds() - cpuStart};
}

constexpr int kRounds = 3;

Cost Faster(Cost a, Cost b) {
  return {std::min(a.wallMs, b.wallMs), std::min(a.cpuMs, b.cpuMs)};
}

// Each side's fastest of kRounds rounds; a round gets its number and returns
// what Measure gave.
template <typename KmfRound, typename SqliteRound>
std::pair<Cost, Cost> FastestRounds(KmfRound&& kmfRound, SqliteRound&& sqliteRound) {
  constexpr double kNever = 1e300;
  Cost kmf{kNever, kNever}, sqlite{kNever, kNever};
  for (int round = 0; round < kRounds; ++round) {
    if (round % 2 == 0) {
      sqlite = Faster(sqlite, sqliteRound(round));
      kmf = Faster(kmf, kmfRound(round));
    } else {
      kmf = Faster(kmf, kmfRound(round));
      sqlite = Faster(sqlite, sqliteRound(round));
    }
  }
  return {kmf, sqlite};
}

void PrintHeading() {
  std::printf("%-56s %9s %9s %7s %7s\n", "line (wall ms, then KMF/SQLite for wall and CPU time)",
              "KMF", "SQLite", "wall", "CPU");
}

void PrintLine(const std::string& what, Cost kmf, Cost sqlite) {
  std::printf("%-56s %9.1f %9.1f %7.2f %7.2f\n", what.c_str(), kmf.wallMs, sqlite.wallMs,
              kmf.wallMs / sqlite.wallMs, kmf.cpuMs / sqlite.cpuMs);
}

// Checks the KMF file as `kmftool check` does; returns the report.
kmf::CheckReport CheckKmf(const std::string& path) {
  kmf::CheckReport report = kmf::CheckFile(path);
  for (const std::string& problem : report.problems)
    std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
  Require(report.ok(), "the KMF file passes the check");
  return report;
}

// The sum of the serials 1 to total, which a scan of every tape adds up.
int64_t SerialSum(int64_t total) {
  return total * (total + 1) / 2;
}

double FileBytes(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path));
}

// The lines chosen on the command line.
class LineChoice {
 public:
  explicit LineChoice(std::string digits) : digits_(std::move(digits)) {}
  bool operator()(char line) const {
    return digits_.empty() || digits_.find(line) != std::string::npos;
  }

 private:
  std::string digits_;
};

int Run(int32_t tapeCount, const LineChoice& chosen) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("rk_bench_kmf_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  CountKmfFlushes();

  const std::vector<Tape> tapes = MakeTapes(1, tapeCount, 1);
  const std::vector<Tape> later = MakeTapes(tapeCount + 1, kDurableInserts, 2);
  const int32_t total = tapeCount + kDurableInserts;
  const std::vector<int32_t> lookups = RandomSerials(total, tapeCount, 3);
  // Each round of PUTs gives other tapes other titles, so that every round
  // changes as many key entries.
  std::vector<std::vector<std::pair<int32_t, std::string>>> retitles;
  for (int round = 0; round < kRounds; ++round)
    retitles.push_back(Retitles(total, std::min(kRetitles, total), 4 + round));

  KmfTapeStore kmf((dir / "HTAPES").string());
  SqliteTapeStore sqlite((dir / "htapes.db").string());
  std::printf(
      "KMF against SQLite %s (journal_mode=%s, synchronous=FULL); KMF opened read/write "
      "deny-write as the application opens it, write-backs end with fsync\n%d tapes of 3 keys, "
      "files in %s\n\n",
      sqlite3_libversion(), sqlite.journalMode().c_str(), tapeCount, dir.c_str());
  PrintHeading();

  // Rounds before the last load files of their own, removed again; the last
  // round's files serve every later line.
  auto lastRound = [](int round) { return round + 1 == kRounds; };
  auto [kmfLoad, sqliteLoad] = FastestRounds(
      [&](int round) {
        if (lastRound(round)) return Measure([&] { kmf.LoadInOneTransaction(tapes); });
        std::string path;
        Cost cost;
        {
          KmfTapeStore scratch((dir / ("ROUND" + std::to_string(round))).string());
          cost = Measure([&] { scratch.LoadInOneTransaction(tapes); });
          path = scratch.path();
        }
        std::filesystem::remove(path);
        return cost;
      },
      [&](int round) {
        if (lastRound(round)) return Measure([&] { sqlite.LoadInOneTransaction(tapes); });
        std::filesystem::path path = dir / ("round" + std::to_string(round) + ".db");
        Cost cost;
        {
          SqliteTapeStore scratch(path.string());
          cost = Measure([&] { scratch.LoadInOneTransaction(tapes); });
        }
        std::filesystem::remove(path);
        return cost;
      });
  PrintLine("1 bulk load of " + std::to_string(tapeCount) + ", LOGOUT/COMMIT vs BEGIN/COMMIT",
            kmfLoad, sqliteLoad);

  kmf.Close();
  kmf::CheckReport loaded = CheckKmf(kmf.path());
  double loadedSizeRatio = FileBytes(kmf.path()) / FileBytes((dir / "htapes.db").string());
  kmf.Open();

  if (chosen('1')) {
    const std::span<const Tape> some(tapes.data(), std::min<size_t>(kStreamedTapes, tapes.size()));
    SqliteTapeStore peer((dir / "streamed.db").string());
    Cost sqliteSome = Measure([&] { peer.LoadInOneTransaction(some); });
    KmfTapeStore streamed((dir / "STREAMED").string());
    Cost kmfStream = Measure([&] { streamed.LoadStreamed(some); });
    PrintLine("1 bulk load of " + std::to_string(some.size()) + ", STREAM/FLUSH vs one transaction",
              kmfStream, sqliteSome);
    streamed.Close();
    CheckKmf(streamed.path());
  }

  long flushesPerInsert = 0;
  if (chosen('2')) {
    long flushesBefore = KmfFlushesSoFar();
    Cost kmfSingles = Measure([&] { kmf.InsertEachDurably(later); });
    flushesPerInsert = (KmfFlushesSoFar() - flushesBefore) / kDurableInserts;
    Cost sqliteSingles = Measure([&] { sqlite.InsertEachDurably(later); });
    PrintLine("2 " + std::to_string(kDurableInserts) + " single durable inserts (autocommit)",
              kmfSingles, sqliteSingles);
  } else {
    kmf.LoadInOneTransaction(later);
    sqlite.LoadInOneTransaction(later);
  }

  const char* const keyNames[] = {"serial", "title+start date", "start+end date"};
  for (int key = 1; key <= 3 && chosen('3'); ++key) {
    auto [kmfScan, sqliteScan] = FastestRounds(
        [&](int) {
          int64_t sum = 0, count = 0;
          Cost cost = Measure([&] { count = kmf.ScanInKeyOrder(key, sum); });
          Require(count == total, "every scan reads every tape");
          Require(sum == SerialSum(total), "every scan reads every tape once");
          return cost;
        },
        [&](int) {
          int64_t sum = 0, count = 0;
          Cost cost = Measure([&] { count = sqlite.ScanInKeyOrder(key, sum); });
          Require(count == total && sum == SerialSum(total), "every scan reads every tape once");
          return cost;
        });
    PrintLine(std::string("3 full scan in key order: ") + keyNames[key - 1], kmfScan, sqliteScan);
  }

  if (chosen('4')) {
    auto [kmfGets, sqliteGets] = FastestRounds(
        [&](int) {
          int64_t found = 0;
          Cost cost = Measure([&] { found = kmf.GetEach(lookups); });
          Require(found == tapeCount, "every GET finds its tape");
          return cost;
        },
        [&](int) {
          int64_t found = 0;
          Cost cost = Measure([&] { found = sqlite.GetEach(lookups); });
          Require(found == tapeCount, "every GET finds its tape");
          return cost;
        });
    PrintLine("4 " + std::to_string(tapeCount) + " random GETs by the unique key", kmfGets,
              sqliteGets);
  }

  if (chosen('5')) {
    auto [kmfPuts, sqlitePuts] = FastestRounds(
        [&](int round) { return Measure([&] { kmf.RetitleInOneTransaction(retitles[round]); }); },
        [&](int round) {
          return Measure([&] { sqlite.RetitleInOneTransaction(retitles[round]); });
        });
    PrintLine(
        "5 " + std::to_string(retitles[0].size()) + " PUTs changing the title, one transaction",
        kmfPuts, sqlitePuts);
  }

  kmf.Close();
  CheckKmf(kmf.path());
  std::printf("\nfile size KMF/SQLite after the bulk load: %.2f, at the end: %.2f\n",
              loadedSizeRatio, FileBytes(kmf.path()) / FileBytes((dir / "htapes.db").string()));
  if (chosen('2'))
    std::printf("fsync calls per durable single insert (KMF): %ld\n", flushesPerInsert);
  std::printf("file bytes / live page bytes after the bulk load: %.2f (target at most 1.3)\n",
              static_cast<double>(loaded.fileBytes) / static_cast<double>(loaded.liveBytes));
  std::printf("kmftool check: both KMF files pass\n");
  std::filesystem::remove_all(dir);
  return 0;
}

}  // namespace
}  // namespace rk::bench

int main(int argc, char** argv) {
  int32_t tapes = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::string lines = argc > 2 ? argv[2] : "";
  if (tapes < 1 || lines.find_first_not_of("12345") != std::string::npos) {
    std::fprintf(stderr, "usage: bench_kmf [tapes] [lines, e.g. 34]\n");
    return 2;
  }
  return rk::bench::Run(tapes, rk::bench::LineChoice(lines));
}
