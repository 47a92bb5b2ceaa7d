// A failed check ends the program with the message that names the line, and
// names the check's real source file and line on standard error beside it.
#include <gtest/gtest.h>

#include <string>

#include "runtime/files/kmf_internal_error.h"

namespace rk::kmf {
namespace {

constexpr int kCheckLine = __LINE__ + 2;  // the line of the check below
void Check(bool holds) {
  KMF_CHECK(holds);
}

TEST(KmfInternalErrorDeathTest, AFailedCheckGivesTheMessageWithItsLine) {
  EXPECT_EXIT(Check(false), ::testing::ExitedWithCode(2),
              "Internal error : kmfbt\\.cpp line " + std::to_string(kCheckLine));
}

TEST(KmfInternalErrorDeathTest, AFailedCheckNamesItsRealFileAndLineOnStandardError) {
  EXPECT_EXIT(Check(false), ::testing::ExitedWithCode(2),
              "tests/files/kmf_internal_error_test\\.cpp:" + std::to_string(kCheckLine));
}

}  // namespace
}  // namespace rk::kmf
