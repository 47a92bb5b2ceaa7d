// Failures of the disk under a write-back: a full disk, an I/O error or a short
// write at every write, flush and truncate of two ADDs and a CLOSE, and an I/O
// error at every read. A failing write or flush before the change is committed
// answers the operating-system failure with the injected error as the last
// error, changes nothing, and leaves the open file usable for the next
// operation. A failure that ends the program (a failing read, or a write after
// the commit point, both the driver's internal error) loses nothing committed:
// the next open finds the change whole or not at all. The file passes the
// check after every run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "runtime/core/halt.h"
#include "runtime/files/kmf_check.h"
#include "runtime/platform/last_error.h"
#include "tests/files/kmf_child_reads.h"
#include "tests/files/kmf_table_fixture.h"

namespace rk::kmf {
namespace {

using testing::CountingStorage;
using testing::FillTape;
using testing::Fingerprint;
using testing::TapeTable;
using Fault = CountingStorage::Fault;

// What a child reports through its pipe, each answer as soon as it has it.
struct Answers {
  int32_t first = 1;   // the ADD the fault may hit, 1 until answered
  int32_t second = 1;  // the ADD after it, without a fault of its own
  uint32_t firstError = 0;
  long events = 0;
  long eventsOfFirst = 0;
  long reads = 0;
  std::string kinds;  // of the first ADD's events: 'w' write, 'f' flush, 't' truncate
  bool finished = false;
  int exitCode = -1;
};

// Where two fingerprints part, for a failure message that can be read.
std::string Difference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  auto near = [&](const std::string& s) {
    std::string cut = s.substr(at < 40 ? 0 : at - 40, 80);
    for (char& c : cut)
      if (c < 32) c = '.';
    return cut;
  };
  return "[" + near(a) + "] instead of [" + near(b) + "]";
}

// The first operation is an ADD (false) or a PUT that grows its record's memo
// to four pieces and moves it to another category (true).
class IoFaultTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    tapes_ = dir_.File("TAPES");
    auto table = TapeTable(tapes_);
    ASSERT_EQ(table->Create(), 0);
    ASSERT_EQ(table->Open(0x42), 0);
    for (int32_t serial = 1; serial <= 60; ++serial) {
      FillTape(*table, serial, "Committed " + std::to_string(serial));
      ASSERT_EQ(table->Add(), 0);
    }
    ASSERT_EQ(table->Close(), 0);
    std::filesystem::copy_file(tapes_ + ".KMF", dir_.File("saved"));
  }

  void Reset() {
    std::filesystem::copy_file(dir_.File("saved"), tapes_ + ".KMF",
                               std::filesystem::copy_options::overwrite_existing);
  }

  // The first operation (unless `skipFirst`), ADD tape 501 (unless `skipSecond`),
  // CLOSE; the write fault can only hit the first ADD.
  Answers Run(Fault fault, long failAt, long failReadAt, bool skipFirst = false,
              bool skipSecond = false) {
    Reset();
    int channel[2];
    EXPECT_EQ(pipe(channel), 0);
    pid_t pid = fork();
    if (pid == 0) {
      close(channel[0]);
      CountingStorage::events = 0;
      CountingStorage::reads = 0;
      CountingStorage::fault = fault;
      CountingStorage::failAt = failAt;
      CountingStorage::failReadAt = failReadAt;
      CountingStorage::trace.clear();
      auto send = [&](char tag, int64_t value) {
        char message[9];
        message[0] = tag;
        std::memcpy(message + 1, &value, 8);
        if (write(channel[1], message, 9) != 9) _exit(3);
      };
      auto table = TapeTable(tapes_);
      if (table->Open(0x42) != 0) _exit(4);
      if (!skipFirst) {
        int32_t first;
        if (GetParam()) {
          int32_t serial = 30;
          std::memcpy(table->record().data(), &serial, 4);
          if (table->GetByKey(0) != 0) _exit(5);
          FillTape(*table, 30, "The faulty put", "moved");
          table->memos()[0].assign(1000, 'm');
          first = table->Put();
        } else {
          FillTape(*table, 500, "The faulty add");
          table->memos()[0].replace(0, 10, "memo piece");
          first = table->Add();
        }
        send('e', platform::LastError());
        send('1', first);
      }
      send('a', CountingStorage::events);
      for (char kind : CountingStorage::trace) send('k', kind);
      CountingStorage::failAt = 0;
      FillTape(*table, 501, "The add after it");
      std::fill(table->memos()[0].begin(), table->memos()[0].end(), ' ');
      send('2', skipSecond ? 0 : table->Add());
      table->Close();
      send('n', CountingStorage::events);
      send('r', CountingStorage::reads);
      _exit(0);
    }
    close(channel[1]);
    Answers answers;
    char message[9];
    while (read(channel[0], message, 9) == 9) {
      int64_t value;
      std::memcpy(&value, message + 1, 8);
      switch (message[0]) {
        case '1':
          answers.first = static_cast<int32_t>(value);
          break;
        case '2':
          answers.second = static_cast<int32_t>(value);
          break;
        case 'e':
          answers.firstError = static_cast<uint32_t>(value);
          break;
        case 'n':
          answers.events = value;
          answers.finished = true;
          break;
        case 'r':
          answers.reads = value;
          break;
        case 'a':
          answers.eventsOfFirst = value;
          break;
        case 'k':
          answers.kinds += static_cast<char>(value);
          break;
      }
    }
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    answers.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return answers;
  }

  void ExpectWhole() {
    for (const auto& problem : CheckFile(tapes_ + ".KMF").problems) ADD_FAILURE() << problem;
  }

  testing::TempDirectory dir_;
  testing::FastStorage storage_;
  std::string tapes_;
};

TEST_P(IoFaultTest, EveryWriteFlushAndTruncateFailsWithoutLosingWork) {
  Answers clean = Run(Fault::kDiskFull, 0, 0);
  ASSERT_TRUE(clean.finished);
  ASSERT_EQ(clean.first, 0);
  const std::string both = Fingerprint(tapes_);
  Run(Fault::kDiskFull, 0, 0, true);
  const std::string secondOnly = Fingerprint(tapes_);
  Run(Fault::kDiskFull, 0, 0, false, true);
  const std::string firstOnly = Fingerprint(tapes_);
  ASSERT_NE(both, secondOnly);
  ASSERT_GT(clean.eventsOfFirst, 2);

  long points = 0, reported = 0, ended = 0;
  for (Fault fault : {Fault::kDiskFull, Fault::kIoError, Fault::kShortWrite}) {
    for (long k = 1; k <= clean.eventsOfFirst; ++k) {
      SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at event " +
                   std::to_string(k) + " of " + clean.kinds);
      const uint32_t code = fault == Fault::kDiskFull ? CountingStorage::kDiskFull
                            : fault == Fault::kShortWrite && clean.kinds[k - 1] == 'w'
                                ? CountingStorage::kShortWrite
                                : CountingStorage::kIoError;
      Answers answers = Run(fault, k, 0);
      ++points;
      const std::string now = Fingerprint(tapes_);
      if (answers.exitCode == 0) {
        ASSERT_TRUE(answers.finished);
        EXPECT_EQ(answers.second, 0) << "the open file stays usable after a failure";
        if (answers.first != 0) {
          ++reported;
          EXPECT_EQ(answers.first, kOsFailure);
          EXPECT_EQ(answers.firstError, code);
          EXPECT_TRUE(now == secondOnly)
              << "a failed operation changed the file: " << Difference(now, secondOnly);
        } else {
          EXPECT_EQ(now, both);
        }
      } else {
        // Only the internal error ends the program, and only after the commit
        // point of a write-back: the change is then recovered on the next open.
        ++ended;
        EXPECT_EQ(answers.exitCode, kRuntimeErrorExitCode);
        EXPECT_EQ(now, firstOnly) << "the change past its commit point was not recovered";
      }
      ExpectWhole();
    }
  }
  EXPECT_GT(reported, 0);
  std::printf("I/O fault points: %ld (%ld answered with an error, %ld ended the program)\n", points,
              reported, ended);
}

TEST_P(IoFaultTest, EveryReadFailureEndsWithTheInternalErrorAndLosesNothing) {
  Answers clean = Run(Fault::kDiskFull, 0, 0);
  ASSERT_TRUE(clean.finished);
  ASSERT_GT(clean.reads, 0);
  const std::string both = Fingerprint(tapes_);
  Run(Fault::kDiskFull, 0, 0, false, true);
  const std::string firstOnly = Fingerprint(tapes_);
  Reset();
  const std::string none = Fingerprint(tapes_);
  for (long r = 1; r <= clean.reads; ++r) {
    SCOPED_TRACE("failing read " + std::to_string(r));
    Answers answers = Run(Fault::kDiskFull, 0, r);
    EXPECT_EQ(answers.exitCode, kRuntimeErrorExitCode) << "a failing read is an internal error";
    const std::string now = Fingerprint(tapes_);
    // Whatever an ADD answered before the end stays; nothing half done shows.
    std::set<std::string> allowed = {none, firstOnly, both};
    if (answers.first == 0) allowed.erase(none);
    EXPECT_EQ(allowed.count(now), 1u) << now.substr(0, 4);
    ExpectWhole();
  }
  std::printf("read fault points: %ld\n", clean.reads);
}

INSTANTIATE_TEST_SUITE_P(AddAndGrowingPut, IoFaultTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "GrowingPut" : "Add");
                         });

}  // namespace
}  // namespace rk::kmf
