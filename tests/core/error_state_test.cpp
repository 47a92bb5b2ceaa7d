#include "runtime/core/error_state.h"

#include <gtest/gtest.h>

#include "runtime/core/halt.h"
#include "runtime/platform/last_error.h"

namespace rk {
namespace {

class ErrorStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearError();
    ClearMessageOverrides();
    platform::SetLastError(0);
  }
  void TearDown() override { ClearMessageOverrides(); }
};

TEST_F(ErrorStateTest, FallbackTextsNameTheCode) {
  EXPECT_EQ(MessageText(0), "Unknown Error Posted");
  EXPECT_EQ(MessageText(99), "Unknown Error Posted : 99");
  EXPECT_EQ(MessageText(483), "Unknown Error Posted : 483");
  EXPECT_EQ(MessageText(33), "Record Not Available");
  EXPECT_EQ(MessageText(507), "Internal error 07");
}

TEST_F(ErrorStateTest, SystemErrorBecomesThreeHundredPlusItsNumber) {
  platform::SetLastError(2);
  SetErrorFromSystem(0);
  EXPECT_EQ(ErrorCode(), 302);
  EXPECT_EQ(ErrorName(), "File Not Found");
  EXPECT_EQ(CurrentError().systemError, 2u);

  platform::SetLastError(32);
  SetErrorFromSystem(0);
  EXPECT_EQ(ErrorCode(), 332);
  EXPECT_EQ(ErrorName(), "Sharing Violation");
}

TEST_F(ErrorStateTest, OverridesReplaceTableTextsAndAreCut) {
  SetMessageOverride(801, "Unbound");
  EXPECT_EQ(MessageText(801), "Unbound");
  std::string text;
  ASSERT_TRUE(LoadText(801, text, 4));
  EXPECT_EQ(text, "Unb");
  EXPECT_FALSE(LoadText(12345, text));
  EXPECT_TRUE(text.empty());
}

TEST_F(ErrorStateTest, NameSkipsLeadingSpacesAndIsCutTo79) {
  SetError(2, "   HTAPES.KMF");
  EXPECT_EQ(ErrorName(), "HTAPES.KMF");
  EXPECT_EQ(CurrentError().name.size(), static_cast<size_t>(kErrorNameWidth));
  SetError(2, std::string(200, 'x'));
  EXPECT_EQ(ErrorName().size(), 79u);
}

TEST_F(ErrorStateTest, PopRestoresTheSavedStateExactly) {
  SetError(35, "ITEMS");
  PushErrorState();
  SetError(2, "OTHER");
  PopErrorState();
  EXPECT_EQ(ErrorCode(), 35);
  EXPECT_EQ(ErrorName(), "ITEMS");
  PopErrorState();  // empty stack: nothing happens
  EXPECT_EQ(ErrorCode(), 35);
}

TEST(HaltTest, RuntimeErrorShowsTheTextAndExitsWithTwo) {
  EXPECT_EXIT(RuntimeError(501, "Out of memory in WSLARRAY!"), ::testing::ExitedWithCode(2),
              "Runtime error: Internal error 01 : Out of memory in WSLARRAY!");
}

TEST(HaltTest, ExitProceduresRunNewestFirstThenTerminationRoutinesByPriority) {
  EXPECT_EXIT(
      {
        RegisterTerminationRoutine(20, [](int) { std::fputs("t20 ", stderr); });
        RegisterTerminationRoutine(5, [](int arg) { std::fprintf(stderr, "t5(%d) ", arg); });
        RegisterExitProcedure([] { std::fputs("first ", stderr); });
        RegisterExitProcedure([] {
          std::fputs("second ", stderr);
          Halt(3);  // a procedure that halts again does not run twice
        });
        Halt(0);
      },
      ::testing::ExitedWithCode(3), "second first t5\\(1\\) t20");
}

}  // namespace
}  // namespace rk
