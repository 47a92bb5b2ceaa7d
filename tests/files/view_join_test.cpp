// Views over joined files: the combinations, their order both ways, positions,
// REGET, SKIP, SET and the codes passed on to the primary file.
#include <gtest/gtest.h>

#include "runtime/files/file_dispatcher.h"
#include "runtime/files/view_engine.h"
#include "tests/files/view_fixture.h"

namespace rk::testing {
namespace {

class ViewJoinTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    AddTape(1, "First");
    AddTape(2, "Empty");
    AddTape(3, "Third");
    AddItem(3, 30, "c");
    AddItem(1, 10, "a");
    AddItem(1, 11, "b");
    view_ = std::make_unique<View>(
        std::vector<ViewFileSpec>{PrimaryFile(tapes_->file()), JoinedFile(items_->key(1), {1})});
  }
  void TearDown() override {
    CLOSE(*view_);
    view_.reset();
    ViewTest::TearDown();
  }

  std::vector<std::string> Walk(bool forward) {
    SET(tapes_->key(1));
    return ReadAll(*view_, forward, [&] { return TapeAndItem(); });
  }

  std::unique_ptr<View> view_;
};

TEST_F(ViewJoinTest, ChildlessParentsAreYieldedOnceWithAnEmptyChild) {
  EXPECT_EQ(Walk(true), (std::vector<std::string>{"1:a", "1:b", "2:", "3:c"}));
  EXPECT_EQ(Walk(false), (std::vector<std::string>{"3:c", "2:", "1:b", "1:a"}));

  // The empty child is a cleared record, not the previous tape's last item.
  SET(tapes_->key(1));
  for (int i = 0; i < 3; ++i) NEXT(*view_);
  EXPECT_EQ(items_->text("ITM:SERIAL"), "0");
  EXPECT_EQ(items_->text("ITM:DATE"), "0");
  // Running off the end leaves the view unpositioned.
  NEXT(*view_);
  NEXT(*view_);
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(POSITION(*view_), "");
  EXPECT_EQ(ErrorCode(), 33);
}

TEST_F(ViewJoinTest, DirectionChangesStepBackThroughChildrenAndParents) {
  SET(tapes_->key(1));
  NEXT(*view_);
  NEXT(*view_);
  NEXT(*view_);  // 2:
  PREVIOUS(*view_);
  EXPECT_EQ(TapeAndItem(), "1:b");
  PREVIOUS(*view_);
  EXPECT_EQ(TapeAndItem(), "1:a");
  NEXT(*view_);
  EXPECT_EQ(TapeAndItem(), "1:b");
}

TEST_F(ViewJoinTest, ResetToAPositionReadsThatCombinationThenContinues) {
  SET(tapes_->key(1));
  std::vector<std::string> positions;
  for (NEXT(*view_); ErrorCode() == 0; NEXT(*view_)) positions.push_back(POSITION(*view_));
  ASSERT_EQ(positions.size(), 4u);
  const std::vector<std::string> after[] = {
      {"1:a", "1:b", "2:", "3:c"}, {"1:b", "2:", "3:c"}, {"2:", "3:c"}, {"3:c"}};
  for (size_t i = 0; i < positions.size(); ++i) {
    // Kept in a space-padded field, as the browses keep them.
    std::string padded = positions[i] + std::string(512 - positions[i].size(), ' ');
    RESET(*view_, padded);
    ASSERT_EQ(ErrorCode(), 0);
    EXPECT_EQ(ReadAll(*view_, true, [&] { return TapeAndItem(); }), after[i]) << i;
  }
  // Backward from a remembered combination.
  RESET(*view_, positions[2]);
  EXPECT_EQ(ReadAll(*view_, false, [&] { return TapeAndItem(); }),
            (std::vector<std::string>{"2:", "1:b", "1:a"}));
}

TEST_F(ViewJoinTest, RegetRereadsTheCombinationAndBlocksReadsUntilReset) {
  SET(tapes_->key(1));
  NEXT(*view_);
  NEXT(*view_);
  std::string second = POSITION(*view_);
  NEXT(*view_);
  std::string childless = POSITION(*view_);

  REGET(*view_, second);
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(TapeAndItem(), "1:b");
  EXPECT_EQ(tapes_->memoText(1), "notes First");
  NEXT(*view_);
  EXPECT_EQ(ErrorCode(), 81);
  REGET(*view_, childless);
  EXPECT_EQ(TapeAndItem(), "2:");

  RESET(*view_, second);
  NEXT(*view_);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(TapeAndItem(), "1:b");
}

TEST_F(ViewJoinTest, MalformedPositionsAreRefused) {
  SET(tapes_->key(1));
  NEXT(*view_);
  std::string good = POSITION(*view_);
  for (std::string bad : {std::string("ab"), good.substr(0, good.size() - 1),
                          std::string("\x09\0\0\0", 4) + good.substr(4)}) {
    RESET(*view_, bad);
    EXPECT_EQ(ErrorCode(), 81);
    REGET(*view_, bad);
    EXPECT_EQ(ErrorCode(), 81);
  }
}

TEST_F(ViewJoinTest, SkipMovesAndEndsQuietly) {
  SET(tapes_->key(1));
  SKIP(*view_, 2);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(TapeAndItem(), "1:b");
  SKIP(*view_, -1);
  EXPECT_EQ(TapeAndItem(), "1:a");
  SKIP(*view_, 10);
  EXPECT_EQ(ErrorCode(), 0);
  NEXT(*view_);
  EXPECT_EQ(ErrorCode(), 33);
}

TEST_F(ViewJoinTest, SetOnTheViewOrItsFileStartsAgain) {
  SET(tapes_->key(1));
  NEXT(*view_);
  NEXT(*view_);
  SET(*view_);
  NEXT(*view_);
  EXPECT_EQ(TapeAndItem(), "1:a");
  // The application sets the primary file's key itself: a new walk, even after
  // REGET.
  REGET(*view_, POSITION(*view_));
  SET(tapes_->key(1));
  NEXT(*view_);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(TapeAndItem(), "1:a");
  // Another order of the same view.
  SET(tapes_->key(2));
  EXPECT_EQ(ReadAll(*view_, true, [&] { return TapeAndItem(); }),
            (std::vector<std::string>{"2:", "1:a", "1:b", "3:c"}));
}

TEST_F(ViewJoinTest, WritesGoToThePrimaryFile) {
  SET(tapes_->key(1));
  NEXT(*view_);
  NEXT(*view_);
  NEXT(*view_);  // tape 2, which has no items
  DELETE(*view_);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(RECORDS(tapes_->file()), 2);
  EXPECT_EQ(RECORDS(items_->file()), 3);

  NEXT(*view_);
  tapes_->setText("TAP:TITLE", "Renamed");
  PUT(*view_);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(Walk(true), (std::vector<std::string>{"1:a", "1:b", "3:c"}));
  EXPECT_EQ(Trimmed(tapes_->text("TAP:TITLE")), "");  // cleared at the end
  tapes_->setLong("TAP:SERIAL", 3);
  GET(tapes_->file(), tapes_->key(1));
  EXPECT_EQ(Trimmed(tapes_->text("TAP:TITLE")), "Renamed");
}

TEST_F(ViewJoinTest, FilterPropertyRoundTripsAndBadTextsAreReported) {
  SetProperty(*view_, kPropFilter, "TAP:SERIAL <> 2");
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(GetProperty(*view_, kPropFilter), "TAP:SERIAL <> 2");
  EXPECT_EQ(Walk(true), (std::vector<std::string>{"1:a", "1:b", "3:c"}));

  SetProperty(*view_, kPropFilter, "NOSUCH:FIELD = 1");
  EXPECT_EQ(ErrorCode(), 801);
  EXPECT_EQ(GetProperty(*view_, kPropFilter), "");
  SetProperty(*view_, kPropFilter, "");
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(Walk(true).size(), 4u);

  SetProperty(*view_, 0x7C00, "x");
  EXPECT_EQ(ErrorCode(), 80);
  CallFileOperation(kOpAdd, *view_);
  EXPECT_EQ(ErrorCode(), 80);
  EXPECT_EQ(ErrorFile(), view_.get());
  EXPECT_EQ(CallFileOperation(kOpOwnViewEngine, *view_), 0);
}

TEST_F(ViewJoinTest, UnusableDeclarationsAreRefused) {
  View none({});
  NEXT(none);
  EXPECT_EQ(ErrorCode(), 47);
  // A join fed from a level that is not read before it.
  View forward({PrimaryFile(tapes_->file()), JoinedFile(items_->key(1), {1}, 1)});
  NEXT(forward);
  EXPECT_EQ(ErrorCode(), 47);
  View badField({PrimaryFile(tapes_->file()), JoinedFile(items_->key(1), {9})});
  NEXT(badField);
  EXPECT_EQ(ErrorCode(), 47);
  View twice({PrimaryFile(tapes_->file()), JoinedFile(tapes_->key(1), {1})});
  NEXT(twice);
  EXPECT_EQ(ErrorCode(), 47);
}

}  // namespace
}  // namespace rk::testing
