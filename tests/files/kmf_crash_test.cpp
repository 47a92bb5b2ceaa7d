// Crash safety: each scenario runs in a child process that ends abruptly right
// after its k-th write, flush or truncate, for every k, once as a crash of the
// program and once for each way a power loss can treat the writes not yet
// flushed; and at every write again, with that write torn after each of its
// sectors. The files must then reopen in the old or the new state, pass the
// checker, and keep what was committed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_transaction.h"
#include "tests/files/kmf_child_reads.h"
#include "tests/files/kmf_table_fixture.h"

namespace rk::kmf {
namespace {

using testing::CountingStorage;
using testing::FillTape;
using testing::Fingerprint;
using testing::PowerLoss;
using testing::ReadInChild;

// Losing every unflushed write leaves what a stop right after the last flush
// leaves, so that case needs no runs of its own.
constexpr PowerLoss kEveryStop[] = {PowerLoss::kNone, PowerLoss::kKeepLatest,
                                    PowerLoss::kLoseEarliest};
using testing::TapeTable;

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tapes_ = dir_.File("TAPES");
    items_ = dir_.File("ITEMS");
    backup_ = dir_.path() / "backup";
    SetControlFileName(dir_.File("control.tcf"));
  }

  void Snapshot() {
    std::filesystem::remove_all(backup_);
    std::filesystem::create_directories(backup_);
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      if (entry.is_regular_file())
        std::filesystem::copy(entry.path(), backup_ / entry.path().filename());
    }
  }
  void Restore() {
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      if (entry.is_regular_file()) std::filesystem::remove(entry.path());
    }
    for (const auto& entry : std::filesystem::directory_iterator(backup_)) {
      std::filesystem::copy(entry.path(), dir_.path() / entry.path().filename());
    }
  }

  // Runs the scenario in a child that stops after `stopAfter` events (0: never),
  // tearing that event when it is a write and `tornSectors` is given; returns the
  // number of events the child saw when it ran to the end, and leaves the size
  // of each of its writes in writeSizes_.
  long RunChild(const std::function<void()>& scenario, long stopAfter,
                PowerLoss loss = PowerLoss::kNone, uint32_t tornSectors = 0) {
    int channel[2];
    EXPECT_EQ(pipe(channel), 0);
    pid_t pid = fork();
    if (pid == 0) {
      close(channel[0]);
      CountingStorage::events = 0;
      CountingStorage::writeSizes.clear();
      CountingStorage::stopAfter = stopAfter;
      CountingStorage::powerLoss = loss;
      CountingStorage::tornSectors = tornSectors;
      scenario();
      long events = CountingStorage::events;
      const std::vector<uint32_t>& sizes = CountingStorage::writeSizes;
      if (write(channel[1], &events, sizeof events) != sizeof events) _exit(3);
      size_t bytes = sizes.size() * sizeof(uint32_t);
      if (write(channel[1], sizes.data(), bytes) != static_cast<ssize_t>(bytes)) _exit(3);
      _exit(0);
    }
    close(channel[1]);
    long events = -1;
    if (read(channel[0], &events, sizeof events) != sizeof events) events = -1;
    writeSizes_.clear();
    uint32_t size = 0;
    while (read(channel[0], &size, sizeof size) == sizeof size) writeSizes_.push_back(size);
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return events;
  }

  // Crashes the scenario at every event; returns the number of crash points.
  // A scenario that only reorganises the file (`changesContents` false) must
  // leave the same contents at every stop.
  long CrashEverywhere(const std::function<void()>& scenario, const std::vector<std::string>& names,
                       bool changesContents = true) {
    Snapshot();
    std::vector<std::string> before;
    for (const auto& name : names) before.push_back(Fingerprint(name));
    Restore();
    long total = RunChild(scenario, 0);
    EXPECT_GT(total, 0);
    std::vector<std::string> after;
    for (const auto& name : names) after.push_back(Fingerprint(name));
    EXPECT_EQ(before != after, changesContents);
    const std::vector<uint32_t> sizes = writeSizes_;
    EXPECT_EQ(static_cast<long>(sizes.size()), total);
    for (PowerLoss loss : kEveryStop) {
      for (long k = 1; k <= total; ++k) {
        SCOPED_TRACE("stop after event " + std::to_string(k) + ", power loss " +
                     std::to_string(static_cast<int>(loss)));
        Restore();
        EXPECT_EQ(RunChild(scenario, k, loss), -1);  // stopped at its k-th event
        std::vector<std::string> now;
        for (const auto& name : names) now.push_back(Fingerprint(name));
        EXPECT_TRUE(now == before || now == after);
        if (k == total) {
          EXPECT_EQ(now, after) << "the finished change was lost";
        }
        ExpectWhole(names);
      }
    }
    // A power loss in the middle of a write: the sectors before the cut reach
    // the disk, those after it do not, nor do the writes the model loses.
    for (PowerLoss loss : {PowerLoss::kLoseEarliest, PowerLoss::kKeepLatest}) {
      for (long k = 1; k <= total && k <= static_cast<long>(sizes.size()); ++k) {
        for (uint32_t n = 1; n * CountingStorage::kSector < sizes[k - 1]; ++n) {
          SCOPED_TRACE("write " + std::to_string(k) + " torn after sector " + std::to_string(n) +
                       ", power loss " + std::to_string(static_cast<int>(loss)));
          Restore();
          EXPECT_EQ(RunChild(scenario, k, loss, n), -1);
          std::vector<std::string> now;
          for (const auto& name : names) now.push_back(Fingerprint(name));
          EXPECT_TRUE(now == before || now == after);
          ExpectWhole(names);
          ++tornPoints_;
        }
      }
    }
    // The files as the finished scenario leaves them, for the caller to look at.
    Restore();
    RunChild(scenario, 0);
    crashPoints_ += total;
    return total;
  }

  static void ExpectWhole(const std::vector<std::string>& names) {
    for (const auto& name : names) {
      std::string problems = ReadInChild([&] {
        std::string joined;
        for (const auto& problem : CheckFile(name + ".KMF").problems) joined += problem + "\n";
        return joined;
      });
      EXPECT_EQ(problems, "") << name;
    }
  }

  // Tapes 1..count; with `scattered` their categories spread over the key too.
  void Populate(const std::string& name, int count, bool scattered = false) {
    auto table = TapeTable(name);
    ASSERT_EQ(table->Create(), 0);
    ASSERT_EQ(table->Open(0x42), 0);
    table->Stream();
    for (int32_t serial = 1; serial <= count; ++serial) {
      FillTape(*table, serial, "Tape number " + std::to_string(serial * 37 % 1000),
               scattered ? CategoryOf(serial) : "cat");
      ASSERT_EQ(table->Add(), 0);
    }
    ASSERT_EQ(table->Flush(), 0);
    ASSERT_EQ(table->Close(), 0);
  }

  static std::string CategoryOf(int32_t serial) { return std::to_string(serial * 104729 % 997); }

  static void Change(const std::string& name, const std::function<void(Table&)>& change,
                     uint32_t mode = 0x42) {
    auto table = TapeTable(name);
    if (table->Open(mode) != 0) _exit(4);
    change(*table);
    table->Close();
  }

  testing::TempDirectory dir_;
  testing::FastStorage storage_;
  std::string tapes_;
  std::string items_;
  std::filesystem::path backup_;
  std::vector<uint32_t> writeSizes_;
  static inline long crashPoints_ = 0;
  static inline long tornPoints_ = 0;

 public:
  static void TearDownTestSuite() {
    std::printf("crash points tested: %ld, torn writes: %ld\n", crashPoints_, tornPoints_);
  }
};

TEST_F(CrashTest, SingleAdd) {
  Populate(tapes_, 30);
  long points = CrashEverywhere(
      [&] {
        Change(tapes_, [](Table& table) {
          FillTape(table, 1000, "A new tape");
          table.memos()[0].replace(0, 9, "new notes");
          if (table.Add() != 0) _exit(5);
        });
      },
      {tapes_});
  EXPECT_GE(points, 4);
}

TEST_F(CrashTest, PutThatSplitsAndMovesPages) {
  Populate(tapes_, 400);
  CrashEverywhere(
      [&] {
        Change(tapes_, [](Table& table) {
          int32_t serial = 200;
          std::memcpy(table.record().data(), &serial, 4);
          if (table.GetByKey(0) != 0) _exit(5);
          FillTape(table, 200, "Renamed so that it moves", "other");
          table.memos()[0].assign(1000, 'm');  // four memo pieces grow its page
          if (table.Put() != 0) _exit(6);
        });
      },
      {tapes_});
}

TEST_F(CrashTest, Delete) {
  Populate(tapes_, 100);
  CrashEverywhere(
      [&] {
        Change(tapes_, [](Table& table) {
          table.SetKey(1);
          if (table.Next() != 0 || table.Delete() != 0) _exit(5);
        });
      },
      {tapes_});
}

TEST_F(CrashTest, DeletesThatMergePages) {
  Populate(tapes_, 200);
  size_t pagesBefore = CheckFile(tapes_ + ".KMF").pages;
  CrashEverywhere(
      [&] {
        Change(tapes_, [](Table& table) {
          // Nine in ten go in one write-back, which merges the pages they leave.
          table.Stream();
          for (int32_t serial = 1; serial <= 200; ++serial) {
            if (serial % 10 == 0) continue;
            std::memcpy(table.record().data(), &serial, 4);
            if (table.GetByKey(0) != 0 || table.Delete() != 0) _exit(5);
          }
          if (table.Flush() != 0) _exit(6);
        });
      },
      {tapes_});
  EXPECT_EQ(Fingerprint(tapes_).substr(0, 3), "20:");
  CheckReport after = CheckFile(tapes_ + ".KMF");
  EXPECT_LT(after.pages * 3, pagesBefore) << after.pages << " pages of " << pagesBefore;
}

// Opened deny-write, the file has no other writer, so operations after the
// first trust the header they already hold instead of reading it again.
TEST_F(CrashTest, PutAfterReadsInDenyWriteMode) {
  Populate(tapes_, 300);
  CrashEverywhere(
      [&] {
        Change(
            tapes_,
            [](Table& table) {
              for (int32_t serial : {7, 150, 299}) {
                std::memcpy(table.record().data(), &serial, 4);
                if (table.GetByKey(0) != 0) _exit(5);
              }
              FillTape(table, 299, "Read first, then changed", "other");
              if (table.Put() != 0) _exit(6);
            },
            0x22);
      },
      {tapes_});
}

// A write-back whose first phase fails (a full disk) at any of its writes or
// its flush reports the failure; the next operation of the same open finds the
// file as the failed one left it, and the file stays whole. (A failure after
// the first phase is an internal error that ends the program.)
TEST_F(CrashTest, FailedWriteBackInDenyWriteModeIsReadAgainByTheNextOperation) {
  Populate(tapes_, 40);
  Snapshot();
  long firstPhaseEvents = 0;
  {
    auto table = TapeTable(tapes_);
    ASSERT_EQ(table->Open(0x22), 0);
    CountingStorage::trace.clear();
    FillTape(*table, 1000, "Counted");
    ASSERT_EQ(table->Add(), 0);
    firstPhaseEvents = static_cast<long>(CountingStorage::trace.find('f')) + 1;
    table->Close();
  }
  ASSERT_GT(firstPhaseEvents, 2);
  for (long k = 1; k <= firstPhaseEvents; ++k) {
    SCOPED_TRACE("failure at event " + std::to_string(k));
    Restore();
    {
      auto table = TapeTable(tapes_);
      ASSERT_EQ(table->Open(0x22), 0);
      int32_t serial = 5;
      std::memcpy(table->record().data(), &serial, 4);
      ASSERT_EQ(table->GetByKey(0), 0);
      CountingStorage::failAt = CountingStorage::events + k;
      FillTape(*table, 1000, "Not stored");
      EXPECT_NE(table->Add(), 0);
      CountingStorage::failAt = 0;
      FillTape(*table, 1001, "After fail");
      EXPECT_EQ(table->Add(), 0);
      table->Close();
    }
    const std::string print = Fingerprint(tapes_);
    EXPECT_NE(print.find("After fail"), std::string::npos);
    for (const auto& problem : CheckFile(tapes_ + ".KMF").problems) ADD_FAILURE() << problem;
  }
}

// A stream writes back each time 40 pages are pending; a stop anywhere leaves
// the tapes added up to one of those write-backs, and all of them once FLUSH
// is done.
TEST_F(CrashTest, StreamKeepsEveryWriteBackWhole) {
  constexpr int32_t kBase = 2500, kAdded = 45;
  Populate(tapes_, kBase, true);
  Snapshot();
  auto scenario = [&] {
    Change(tapes_, [](Table& table) {
      table.Stream();
      for (int32_t serial = kBase + 1; serial <= kBase + kAdded; ++serial) {
        // Titles and categories scattered over the keys dirty many pages.
        FillTape(table, serial, "Tape number " + std::to_string(serial * 7919 % 1000),
                 CategoryOf(serial));
        if (table.Add() != 0) _exit(5);
      }
      if (table.Flush() != 0) _exit(6);
    });
  };
  long total = RunChild(scenario, 0);
  CountingStorage::trace.clear();
  {
    // The same run in this process, to see where the stream flushed.
    Restore();
    CountingStorage::events = 0;
    scenario();
  }
  const std::string trace = CountingStorage::trace;
  ASSERT_EQ(static_cast<long>(trace.size()), total);
  EXPECT_GE(std::count(trace.begin(), trace.end(), 'f'), 8)
      << "the stream wrote back too seldom to test it";

  // The number of streamed tapes the file holds; "bad" when they are not the
  // first ones of the stream.
  auto streamedTapes = [&] {
    auto table = TapeTable(tapes_);
    if (table->Open(0x42) != 0) return std::string("cannot open");
    int64_t added = static_cast<int64_t>(table->Records()) - kBase;
    int32_t newest = kBase + static_cast<int32_t>(added);
    FillTape(*table, newest, "");
    bool newestThere = added == 0 || table->GetByKey(0) == 0;
    FillTape(*table, newest + 1, "");
    bool nextMissing = table->GetByKey(0) != 0;
    table->Close();
    if (added < 0 || added > kAdded || !newestThere || !nextMissing) return std::string("bad");
    return std::to_string(added);
  };
  auto stopAt = [&](long k, PowerLoss loss, bool fullCheck) {
    SCOPED_TRACE("stop after event " + std::to_string(k) + ", power loss " +
                 std::to_string(static_cast<int>(loss)));
    Restore();
    EXPECT_EQ(RunChild(scenario, k, loss), -1);
    std::string added = ReadInChild(streamedTapes);
    EXPECT_NE(added, "bad");
    EXPECT_NE(added, "unreadable");
    if (k == total) {
      EXPECT_EQ(added, std::to_string(kAdded)) << "the flushed stream was lost";
    }
    if (fullCheck) ExpectWhole({tapes_});
  };
  // A crash of the program at every event (the full check, which reads every
  // entry of the large file, on a sample); a power loss where it has the most
  // unflushed writes to lose: at the last write before each flush.
  for (long k = 1; k <= total; ++k) stopAt(k, PowerLoss::kNone, k % 8 == 0 || k == total);
  for (long k = 1; k <= total; ++k) {
    if (k < total && trace[k] != 'f') continue;
    for (PowerLoss loss : {PowerLoss::kKeepLatest, PowerLoss::kLoseEarliest}) stopAt(k, loss, true);
  }
  crashPoints_ += total;
}

// The statements that remake a whole table or file: their write-backs must be
// as safe as those of a single record.
TEST_F(CrashTest, CreateOverATableThatHoldsRecords) {
  Populate(tapes_, 60);
  long points = CrashEverywhere(
      [&] {
        if (TapeTable(tapes_)->Create() != 0) _exit(5);
      },
      {tapes_});
  EXPECT_EQ(Fingerprint(tapes_), "0:");
  EXPECT_GE(points, 4);
}

TEST_F(CrashTest, Empty) {
  Populate(tapes_, 120);
  CrashEverywhere(
      [&] {
        Change(tapes_, [](Table& table) {
          if (table.Empty() != 0) _exit(5);
        });
      },
      {tapes_});
  EXPECT_EQ(Fingerprint(tapes_), "0:");
}

TEST_F(CrashTest, BuildRemakesTheKeysWithoutChangingTheRecords) {
  Populate(tapes_, 150, true);
  CrashEverywhere(
      [&] {
        Change(tapes_, [](Table& table) {
          if (table.Build() != 0) _exit(5);
        });
      },
      {tapes_}, false);
}

// Pack cuts the file to its used end: the cut is a crash point of its own, and
// the writes before it are durable only once flushed.
TEST_F(CrashTest, PackAfterAnAddCutsTheFile) {
  Populate(tapes_, 300);
  Change(tapes_, [](Table& table) {
    table.Stream();
    for (int32_t serial = 2; serial <= 300; ++serial) {
      std::memcpy(table.record().data(), &serial, 4);
      if (table.GetByKey(0) != 0 || table.Delete() != 0) _exit(5);
    }
    table.Flush();
  });
  auto scenario = [&] {
    Change(tapes_, [](Table& table) {
      FillTape(table, 301, "Added before the pack");
      if (table.Add() != 0 || table.Pack() != 0) _exit(5);
    });
  };
  Snapshot();
  CountingStorage::trace.clear();
  scenario();
  EXPECT_EQ(std::count(CountingStorage::trace.begin(), CountingStorage::trace.end(), 't'), 2)
      << "the pack and the close cut the file: " << CountingStorage::trace;
  Restore();
  CrashEverywhere(scenario, {tapes_});
}

TEST_F(CrashTest, RebuildThroughACopy) {
  Populate(tapes_, 80, true);
  std::string copy = dir_.File("TAPES.COPY");
  CrashEverywhere(
      [&] {
        Change(
            tapes_,
            [&](Table& table) {
              if (table.RebuildThroughCopy(copy) != 0) _exit(5);
            },
            0x12);
      },
      {tapes_}, false);
}

// A file left with a marked header (stopped right after the commit point of
// an ADD) is recovered by the next open; that recovery is stopped at each of
// its own writes and flushes, and the open after it must recover again.
TEST_F(CrashTest, RecoveryThatIsItselfInterrupted) {
  Populate(tapes_, 120);
  auto add = [&] {
    Change(tapes_, [](Table& table) {
      FillTape(table, 1000, "Committed, not yet home");
      table.memos()[0].replace(0, 9, "new notes");
      if (table.Add() != 0) _exit(5);
    });
  };
  Snapshot();
  RunChild(add, 0);
  const std::string added = Fingerprint(tapes_);
  long commitPoint = 0;
  for (long k = 0, flushes = 0; k < static_cast<long>(writeSizes_.size()); ++k) {
    if (writeSizes_[k] == 0 && ++flushes == 2) {
      commitPoint = k + 1;
      break;
    }
  }
  ASSERT_GT(commitPoint, 0);
  Restore();
  EXPECT_EQ(RunChild(add, commitPoint), -1);
  auto header = [&] {
    std::ifstream in(tapes_ + ".KMF", std::ios::binary);
    uint8_t bytes[kHeaderSize];
    in.read(reinterpret_cast<char*>(bytes), kHeaderSize);
    return DecodeHeader(bytes);
  };
  ASSERT_NE(header().committedEnd, header().pendingEnd) << "the file should need recovery";

  long points = CrashEverywhere(
      [&] {
        auto table = TapeTable(tapes_);
        if (table->Open(0x42) != 0) _exit(4);
        table->Close();
      },
      {tapes_}, false);
  EXPECT_GT(points, 2) << "the recovery wrote nothing";
  EXPECT_EQ(Fingerprint(tapes_), added);
  EXPECT_EQ(header().committedEnd, header().pendingEnd);
}

TEST_F(CrashTest, CommitOfTwoFilesIsAllOrNothing) {
  Populate(tapes_, 50);
  Populate(items_, 50);
  CrashEverywhere(
      [&] {
        auto tapes = TapeTable(tapes_);
        auto items = TapeTable(items_);
        if (tapes->Open(0x42) != 0 || items->Open(0x42) != 0) _exit(4);
        JoinTransaction(tapes->file());
        JoinTransaction(items->file());
        FillTape(*tapes, 500, "In the transaction");
        FillTape(*items, 500, "Also in it");
        if (tapes->Add() != 0 || items->Add() != 0) _exit(5);
        int32_t serial = 10;
        std::memcpy(tapes->record().data(), &serial, 4);
        if (tapes->GetByKey(0) != 0 || tapes->Delete() != 0) _exit(6);
        if (CommitTransaction() != 0) _exit(7);
        tapes->Close();
        items->Close();
      },
      {tapes_, items_});
}

}  // namespace
}  // namespace rk::kmf
