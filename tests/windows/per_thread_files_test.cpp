// A per-thread file that a tool or a test declares for a while: once it goes
// away, no thread switch may copy an instance into the memory it held.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "runtime/core/type_codes.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/thread_instances.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "tests/files/kmf_test_support.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

const FieldSpec kFields[] = {{"TAP:NUMBER", 0, kLong}};
const KeySpec kKeys[] = {{"TAP:NUMBER_KEY", 0, {1}}};
const MemoSpec kMemos[] = {{"TAP:NOTES", 16}};

class PerThreadFilesTest : public rk::testing::WindowTest {};

TEST_F(PerThreadFilesTest, AFileThatGoesAwayLeavesTheThreadInstancing) {
  ConnectFileLayerToThreads();
  kmf::testing::TempDirectory dir;
  std::string name = dir.File("TAPES");
  FileSpec spec{"tapes", name.c_str(), kFileAttrCreate | kFileAttrPerThread, 4, kFields,
                kKeys,   kMemos};
  size_t before = ThreadInstances().EntryCount();
  auto file = std::make_unique<DeclaredFile>(spec, &KmfEntry);
  START(
      [&] {
        OPEN(file->file());
        int32_t number = 7;
        std::memcpy(file->record(), &number, sizeof number);
        CLOSE(file->file());
      },
      0);
  rk::testing::RunUntilIdle();
  EXPECT_GT(ThreadInstances().EntryCount(), before) << "the file was made per thread";

  file.reset();
  EXPECT_EQ(ThreadInstances().EntryCount(), before);
  // Threads that begin and switch afterwards touch nothing of the file (a
  // sanitizer build reports a write into its freed buffers).
  int32_t ran = 0;
  START([&] { ++ran; }, 0);
  START([&] { ++ran; }, 0);
  rk::testing::RunUntilIdle();
  EXPECT_EQ(ran, 2);
}

}  // namespace
}  // namespace rk
