// The list's key meanings and locator, apart from any widget.
#include "runtime/windows/list_navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/windows/event_codes.h"

namespace rk {
namespace {

TEST(ListNavigationTest, ProgramScrolledKeysNameTheirScrollEvents) {
  EXPECT_EQ(ProgramScrollEvent(kKeyUp), event::kScrollUp);
  EXPECT_EQ(ProgramScrollEvent(kKeyDown), event::kScrollDown);
  EXPECT_EQ(ProgramScrollEvent(kKeyPageUp), event::kPageUp);
  EXPECT_EQ(ProgramScrollEvent(kKeyPageUp | kKeyCtrl), event::kScrollTop);
  EXPECT_EQ(ProgramScrollEvent(kKeyPageDown), event::kPageDown);
  EXPECT_EQ(ProgramScrollEvent(kKeyPageDown | kKeyCtrl), event::kScrollBottom);
  EXPECT_EQ(ProgramScrollEvent(kKeyHome), event::kScrollTop);
  EXPECT_EQ(ProgramScrollEvent(kKeyEnd), event::kScrollBottom);
  EXPECT_EQ(ProgramScrollEvent(kKeyUp | kKeyCtrl), 0) << "only Page Up and Down take Ctrl";
  EXPECT_EQ(ProgramScrollEvent(0x41), 0);
}

TEST(ListNavigationTest, SelfScrollingKeysStayInsideTheRows) {
  EXPECT_EQ(SelfScrollTarget(kKeyUp, 1, 10, 4), 1);
  EXPECT_EQ(SelfScrollTarget(kKeyDown, 10, 10, 4), 10);
  EXPECT_EQ(SelfScrollTarget(kKeyDown, 0, 10, 4), 1) << "no selection yet: the first row";
  EXPECT_EQ(SelfScrollTarget(kKeyPageDown, 3, 10, 4), 7);
  EXPECT_EQ(SelfScrollTarget(kKeyPageDown, 8, 10, 4), 10);
  EXPECT_EQ(SelfScrollTarget(kKeyPageUp, 3, 10, 4), 1);
  EXPECT_EQ(SelfScrollTarget(kKeyEnd, 3, 10, 4), 10);
  EXPECT_EQ(SelfScrollTarget(kKeyPageUp | kKeyCtrl, 7, 10, 4), 1);
  EXPECT_EQ(SelfScrollTarget(kKeyDown, 0, 0, 4), 0) << "an empty list";
  EXPECT_EQ(SelfScrollTarget(0x41, 3, 10, 4), 0);
}

TEST(ListNavigationTest, LocatorLooksAfterTheSelectionWrapsAndVisitsEachRowOnce) {
  std::vector<std::string> texts{"apple", "Banana", "cherry", "avocado", ""};
  int visits = 0;
  auto text = [&](int32_t row) {
    ++visits;
    return texts[row - 1];
  };
  EXPECT_EQ(LocateRow('a', 1, 5, text), 4) << "the next one after the selection";
  EXPECT_EQ(LocateRow('a', 4, 5, text), 1) << "wraps to the first row";
  EXPECT_EQ(LocateRow('b', 0, 5, text), 2) << "without regard to case";
  visits = 0;
  EXPECT_EQ(LocateRow('z', 2, 5, text), 0);
  EXPECT_EQ(visits, 5);
  EXPECT_EQ(LocateRow('c', 3, 5, text), 3) << "the selected row itself comes last";
}

}  // namespace
}  // namespace rk
