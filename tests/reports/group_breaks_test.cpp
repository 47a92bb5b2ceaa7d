#include "runtime/reports/group_breaks.h"

#include <gtest/gtest.h>

#include <map>

namespace rk {
namespace {

using Actions = std::vector<GroupAction>;
constexpr auto kOpen = GroupAction::kOpen;
constexpr auto kClose = GroupAction::kClose;

class GroupBreaksTest : public ::testing::Test {
 protected:
  std::map<int, std::string> values;
  GroupBreaks breaks{[this](int group) { return values[group]; }};
};

TEST_F(GroupBreaksTest, NestedGroupsOpenOutermostFirstAndStayOpenWhileValuesHold) {
  values = {{0, "A"}, {1, "x"}};
  EXPECT_EQ(breaks.BeforeDetail({0, 1}), (Actions{{kOpen, 0}, {kOpen, 1}}));
  EXPECT_EQ(breaks.BeforeDetail({0, 1}), Actions{});
  EXPECT_EQ(breaks.OpenGroups(), (std::vector<int>{0, 1}));
}

TEST_F(GroupBreaksTest, AChangedInnerValueClosesAndReopensOnlyTheInnerGroup) {
  values = {{0, "A"}, {1, "x"}};
  breaks.BeforeDetail({0, 1});
  values[1] = "y";
  EXPECT_EQ(breaks.BeforeDetail({0, 1}), (Actions{{kClose, 1}, {kOpen, 1}}));
}

TEST_F(GroupBreaksTest, AChangedOuterValueClosesTheInnerGroupsFirst) {
  values = {{0, "A"}, {1, "x"}, {2, "p"}};
  breaks.BeforeDetail({0, 1, 2});
  values[0] = "B";  // the inner values stay the same
  EXPECT_EQ(breaks.BeforeDetail({0, 1, 2}),
            (Actions{{kClose, 2}, {kClose, 1}, {kClose, 0}, {kOpen, 0}, {kOpen, 1}, {kOpen, 2}}));
}

TEST_F(GroupBreaksTest, ADetailOutsideTheOpenGroupsClosesThemInnermostFirst) {
  values = {{0, "A"}, {1, "x"}, {2, "q"}};
  breaks.BeforeDetail({0, 1});
  // A detail in a sibling group of group 1, inside group 0.
  EXPECT_EQ(breaks.BeforeDetail({0, 2}), (Actions{{kClose, 1}, {kOpen, 2}}));
  // A detail outside every group.
  EXPECT_EQ(breaks.BeforeDetail({}), (Actions{{kClose, 2}, {kClose, 0}}));
}

TEST_F(GroupBreaksTest, TheValueIsRememberedAfterEachDetail) {
  values = {{0, "A"}};
  breaks.BeforeDetail({0});
  values[0] = "B";
  breaks.BeforeDetail({0});
  EXPECT_EQ(breaks.BeforeDetail({0}), Actions{});  // B was remembered
}

TEST_F(GroupBreaksTest, CloseAllClosesInnermostFirst) {
  values = {{0, "A"}, {1, "x"}};
  breaks.BeforeDetail({0, 1});
  EXPECT_EQ(breaks.CloseAll(), (Actions{{kClose, 1}, {kClose, 0}}));
  EXPECT_TRUE(breaks.OpenGroups().empty());
}

}  // namespace
}  // namespace rk
