// Two processes write one KMF file opened deny-none: each adds, changes and
// deletes records at random, the changes and deletes of shared records under
// HOLD and WATCH. The file is opened without sharing, so the two take turns in
// sessions of a few operations; each must see the other's write-backs. Afterwards the file passes
// the check, and its records equal a model that replays each process's successful operations. Every
// title a process writes is unique, so the successful PUTs of a record chain from its first title
// to its last: a lost update (two PUTs from the same title) or a change that did not stick breaks
// the chain.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "runtime/files/kmf_check.h"
#include "runtime/platform/last_error.h"
#include "runtime/platform/os_errors.h"
#include "tests/files/kmf_table_fixture.h"

namespace rk::kmf {
namespace {

using testing::FillTape;
using testing::SerialOf;
using testing::TapeTable;

constexpr int32_t kShared = 40;  // tapes 1..40 exist before and both processes touch them
constexpr int kOperations = 1500;

std::string TitleOf(Table& table) {
  std::string title(reinterpret_cast<const char*>(table.record().data()) + 4, 20);
  return title.substr(0, title.find_last_not_of(' ') + 1);
}

// Opens the table, waiting while the other process has the file: the file is
// opened without sharing, so only one program has it open at a time.
void OpenWhenFree(Table& table, std::mt19937& random, long& refusals) {
  for (;;) {
    int32_t answer = table.Open(0x42);
    if (answer == 0) return;
    if (answer != kOsFailure || platform::LastError() != platform::kErrorSharingViolation) {
      std::fprintf(stderr, "open answered %d (%u)\n", answer, platform::LastError());
      _exit(4);
    }
    ++refusals;
    usleep(static_cast<useconds_t>(random() % 2000));
  }
}

// One process's run, in sessions of a few operations between OPEN and CLOSE.
// Its successful operations go to `log`, one a line:
//   A serial title | P serial old new | D serial old
// A second declaration of the same file changes a watched record now and then
// between the read and the PUT, which must then answer 89.
void Work(const std::string& name, int process, const std::string& log) {
  std::mt19937 random(1234 + process);
  std::ofstream out(log);
  auto table = TapeTable(name);
  auto other = TapeTable(name);
  int32_t nextOwn = process * 100000;
  std::vector<int32_t> own;
  long refusals = 0;
  for (int op = 0; op < kOperations;) {
    OpenWhenFree(*table, random, refusals);
    if (other->Open(0x42) != 0) _exit(4);
    for (int session = 1 + static_cast<int>(random() % 25); session > 0 && op < kOperations;
         --session, ++op) {
      std::string title = "P" + std::to_string(process) + "-" + std::to_string(op);
      int choice = static_cast<int>(random() % 10);
      if (choice < 3) {
        FillTape(*table, ++nextOwn, title, "c" + std::to_string(random() % 7));
        if (table->Add() == 0) {
          own.push_back(nextOwn);
          out << "A " << nextOwn << ' ' << title << '\n';
        }
        continue;
      }
      int32_t serial = (random() % 2 || own.empty()) ? static_cast<int32_t>(1 + random() % kShared)
                                                     : own[random() % own.size()];
      std::memcpy(table->record().data(), &serial, 4);
      bool hold = random() % 4 != 0;
      if (hold) table->Hold(1);
      table->Watch();
      if (table->GetByKey(0) != 0) {
        table->Release();
        continue;
      }
      std::string old = TitleOf(*table);
      bool changedBetween = false;
      if (!hold && random() % 3 == 0) {
        std::memcpy(other->record().data(), &serial, 4);
        if (other->GetByKey(0) == 0) {
          std::string between = title + "x";
          FillTape(*other, serial, between);
          if (other->Put() == 0) {
            out << "P " << serial << ' ' << old << ' ' << between << '\n';
            changedBetween = true;
          }
        }
      }
      int32_t answer;
      if (choice < 9) {
        FillTape(*table, serial, title, "c" + std::to_string(random() % 7));
        answer = table->Put();
        if (answer == 0) out << "P " << serial << ' ' << old << ' ' << title << '\n';
      } else {
        answer = table->Delete();
        if (answer == 0) out << "D " << serial << ' ' << old << '\n';
      }
      if (changedBetween && answer != 89) out << "! watch missed a change of " << serial << '\n';
      table->Release();
    }
    other->Close();
    table->Close();
  }
  out << "R " << refusals << '\n';
  out.flush();
  _exit(out ? 0 : 6);
}

// Replays both logs: each record's chain of titles from its first one.
struct Model {
  std::map<int32_t, std::string> first;                         // initial or added title
  std::map<std::pair<int32_t, std::string>, std::string> next;  // PUT: title -> title
  std::map<int32_t, std::string> deletedAt;                     // the title it had
  std::string problem;
  long refusals = 0;

  void Replay(const std::string& log, long& operations) {
    std::ifstream in(log);
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      char kind;
      int32_t serial;
      std::string a, b;
      words >> kind >> serial >> a >> b;
      if (kind == '!') {
        problem += line + "\n";
        continue;
      }
      if (kind == 'R') {
        refusals += serial;
        continue;
      }
      ++operations;
      if (kind == 'A') {
        first[serial] = a;
      } else if (kind == 'P') {
        if (!next.emplace(std::make_pair(serial, a), b).second)
          problem += "two changes of " + std::to_string(serial) + " from " + a + "\n";
      } else if (!deletedAt.emplace(serial, a).second) {
        problem += std::to_string(serial) + " deleted twice\n";
      }
    }
  }

  // serial -> last title, without the deleted records.
  std::map<int32_t, std::string> Final() {
    std::map<int32_t, std::string> records;
    for (const auto& [serial, start] : first) {
      std::string title = start;
      for (auto it = next.find({serial, title}); it != next.end(); it = next.find({serial, title}))
        title = it->second;
      auto deleted = deletedAt.find(serial);
      if (deleted != deletedAt.end()) {
        if (deleted->second != title)
          problem += std::to_string(serial) + " deleted at " + deleted->second + ", not its last\n";
        continue;
      }
      records[serial] = title;
    }
    return records;
  }
};

TEST(KmfTwoProcessTest, RandomChangesOfBothEqualTheReplayedModel) {
  testing::TempDirectory dir;
  testing::FastStorage storage;
  std::string name = dir.File("TAPES");
  Model model;
  {
    auto table = TapeTable(name);
    ASSERT_EQ(table->Create(), 0);
    ASSERT_EQ(table->Open(0x42), 0);
    for (int32_t serial = 1; serial <= kShared; ++serial) {
      FillTape(*table, serial, "start-" + std::to_string(serial));
      ASSERT_EQ(table->Add(), 0);
      model.first[serial] = "start-" + std::to_string(serial);
    }
    ASSERT_EQ(table->Close(), 0);
  }
  pid_t children[2];
  for (int process = 1; process <= 2; ++process) {
    pid_t pid = fork();
    if (pid == 0) Work(name, process, dir.File("log" + std::to_string(process)));
    children[process - 1] = pid;
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }

  for (const auto& problem : CheckFile(name + ".KMF").problems) ADD_FAILURE() << problem;
  long operations = 0;
  model.Replay(dir.File("log1"), operations);
  model.Replay(dir.File("log2"), operations);
  std::map<int32_t, std::string> expected = model.Final();
  EXPECT_EQ(model.problem, "");

  std::map<int32_t, std::string> stored;
  auto table = TapeTable(name);
  ASSERT_EQ(table->Open(0x42), 0);
  table->SetKey(0);
  while (table->Next() == 0) stored[SerialOf(*table)] = TitleOf(*table);
  EXPECT_EQ(table->Records(), stored.size());
  table->Close();
  EXPECT_EQ(stored, expected);
  // Both processes must have got through: contention may refuse some, not most.
  EXPECT_GT(operations, kOperations);
  std::printf("two-process operations: %d tried, %ld succeeded, %ld opens refused and retried\n",
              2 * kOperations, operations, model.refusals);
}

}  // namespace
}  // namespace rk::kmf
