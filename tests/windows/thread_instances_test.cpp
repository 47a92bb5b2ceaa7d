#include "runtime/windows/thread_instances.h"

#include <gtest/gtest.h>

#include <cstring>

namespace rk {
namespace {

// STRING of 4 bytes: clearing it blank fills it with spaces.
constexpr uint8_t kString4[] = {18, 4, 0, 0, 0, 0};

TEST(InstanceRegistryTest, NewCopiesStartFromTheImageTheFlagsChoose) {
  InstanceRegistry registry;
  int32_t snapshot = 77, zeroed = 55;
  char text[4] = {'a', 'b', 'c', 'd'};
  char tooSmall[2] = {'x', 'y'};
  registry.Register(&snapshot, sizeof snapshot, 0);
  registry.Register(&zeroed, sizeof zeroed, kInstanceZeroFilled);
  registry.Register(text, sizeof text, kInstanceDescriptor, kString4);
  registry.Register(tooSmall, sizeof tooSmall, kInstanceDescriptor, kString4);
  registry.Register(&snapshot, sizeof snapshot, kInstanceZeroFilled);  // already there
  EXPECT_EQ(registry.EntryCount(), 4u);

  snapshot = 78;  // changed after registration: the snapshot keeps 77
  registry.BeginThread(5);
  registry.SwitchTo(5);
  EXPECT_EQ(snapshot, 77);
  EXPECT_EQ(zeroed, 0);
  EXPECT_EQ(std::string(text, 4), "    ");
  EXPECT_EQ(std::string(tooSmall, 2), std::string(2, '\0')) << "never cleared past its size";

  // The first thread kept its own contents.
  registry.SwitchTo(0);
  EXPECT_EQ(snapshot, 78);
  EXPECT_EQ(zeroed, 55);
  EXPECT_EQ(std::string(text, 4), "abcd");
  EXPECT_EQ(std::string(tooSmall, 2), "xy");
}

TEST(InstanceRegistryTest, EachThreadFindsItsOwnContentsAfterSwitches) {
  InstanceRegistry registry;
  int32_t counter = 0;
  registry.Register(&counter, sizeof counter, kInstanceZeroFilled);
  registry.BeginThread(1);
  registry.BeginThread(2);
  counter = 100;
  for (int round = 1; round <= 3; ++round) {
    registry.SwitchTo(1);
    counter += 1;
    registry.SwitchTo(2);
    counter += 10;
    registry.SwitchTo(0);
    counter += 100;
  }
  EXPECT_EQ(counter, 400);
  registry.SwitchTo(1);
  EXPECT_EQ(counter, 3);
  registry.SwitchTo(2);
  EXPECT_EQ(counter, 30);
  EXPECT_EQ(registry.InPlace(), 2);

  // An ended thread's copies are gone; a new thread in its slot starts afresh.
  registry.EndThread(2);
  EXPECT_EQ(registry.InPlace(), -1);
  registry.BeginThread(2);
  registry.SwitchTo(2);
  EXPECT_EQ(counter, 0);
  registry.SwitchTo(0);
  EXPECT_EQ(counter, 400);
}

TEST(InstanceRegistryTest, AVariableRegisteredLaterStartsFromItsImageOnOlderThreads) {
  InstanceRegistry registry;
  registry.BeginThread(1);
  registry.SwitchTo(1);
  int32_t useCount = 0;
  registry.Register(&useCount, sizeof useCount, 0);  // thread 1 opens a file first
  useCount = 1;
  registry.SwitchTo(0);
  EXPECT_EQ(useCount, 0);
  useCount = 5;
  registry.SwitchTo(1);
  EXPECT_EQ(useCount, 1);
  registry.SwitchTo(0);
  EXPECT_EQ(useCount, 5);
}

using InstanceRegistryDeathTest = ::testing::Test;

TEST_F(InstanceRegistryDeathTest, BeginningTwiceOrSwitchingToANeverBegunThreadIsInternal) {
  InstanceRegistry registry;
  int32_t value = 0;
  registry.Register(&value, sizeof value, 0);
  registry.BeginThread(3);
  EXPECT_EXIT(registry.BeginThread(3), ::testing::ExitedWithCode(2), "Internal error 03.*WSLINST");
  EXPECT_EXIT(registry.SwitchTo(4), ::testing::ExitedWithCode(2), "Internal error 02.*WSLINST");
}

}  // namespace
}  // namespace rk
