// Failures on runtime threads end the program: Halt closes the files every
// thread has open.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/core/halt.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/open_files_registry.h"
#include "runtime/files/runtime_threads.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_start.h"
#include "tests/files/temp_directory.h"
#include "tests/support/halting_child.h"

namespace rk {
namespace {

void RunUntilIdle() {
  platform::TheScheduler().RunUntilIdle();
}

const FieldSpec kFields[] = {{"TAP:NUMBER", 0, kLong}};
const KeySpec kKeys[] = {{"TAP:NUMBER_KEY", 0, {1}}};

// Opens the per-thread file on two started threads, adds a record on each, and
// halts from the second while the first still has it open. A termination
// routine, which runs after every exit procedure, says what is left open.
void OpenOnTwoThreadsAndHalt(const std::string& name) {
  static DeclaredFile tapes(
      FileSpec{"tapes", name.c_str(), kFileAttrCreate | kFileAttrPerThread, 4, kFields, kKeys, {}},
      &KmfEntry);
  static std::string path = kmf::KmfFileName(name);
  RegisterTerminationRoutine(0, [](int) {
    std::fprintf(stderr, "after the exit procedures: %zu open, the KMF file %s\n",
                 OpenFiles().size(), kmf::FindOpenFile(path) ? "open" : "closed");
  });
  auto openAndAdd = [] {
    OPEN(tapes.file());
    if (ErrorCode() != 0) std::_Exit(97);
    int32_t number = CurrentThreadNumber();
    std::memcpy(tapes.record(), &number, sizeof number);
    ADD(tapes.file());
  };
  START(
      [openAndAdd] {
        openAndAdd();
        WaitForNextMessage();
      },
      0);
  START(
      [openAndAdd] {
        openAndAdd();
        std::fprintf(stderr, "before halting: %zu open\n", OpenFiles().size());
        Halt(0);
      },
      0);
  RunUntilIdle();
  std::_Exit(99);  // reached only when Halt did not end the program
}

TEST(ThreadFailuresDeathTest, HaltClosesTheFilesOfEveryThread) {
  rk::testing::ChildrenSkipLeakCheck haltingChildren;
  test_files::TempDirectory dir;
  std::string name = dir.File("TAPES");
  {
    DeclaredFile creator(FileSpec{"tapes", name.c_str(), kFileAttrCreate, 4, kFields, kKeys, {}},
                         &KmfEntry);
    CREATE(creator.file());
    ASSERT_EQ(ErrorCode(), 0);
  }
  EXPECT_EXIT(OpenOnTwoThreadsAndHalt(name), ::testing::ExitedWithCode(0),
              "before halting: 2 open\nafter the exit procedures: 0 open, the KMF file closed");
}

}  // namespace
}  // namespace rk
