#include "runtime/files/queue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"

namespace rk {
namespace {

// Rows of a LONG and a STRING(8).
constexpr FieldSpec kRowFields[] = {{"Q:NUMBER", 0, kLong}, {"Q:NAME", 4, kString, 8}};

class QueueTest : public ::testing::Test {
 protected:
  void Fill(int32_t number, std::string name) {
    std::memcpy(rows.buffer(), &number, 4);
    name.resize(8, ' ');
    std::memcpy(rows.buffer() + 4, name.data(), 8);
  }
  void Add(int32_t number, const std::string& name) {
    Fill(number, name);
    ADD(q());
    ASSERT_EQ(ErrorCode(), 0);
  }
  int32_t Number() {
    int32_t number;
    std::memcpy(&number, rows.buffer(), 4);
    return number;
  }
  std::string Name() { return std::string(reinterpret_cast<char*>(rows.buffer()) + 4, 8); }
  // Every entry's number, in queue order.
  std::vector<int32_t> Numbers() {
    std::vector<int32_t> numbers;
    for (int32_t i = 1; i <= RECORDS(q()); ++i) {
      GET(q(), i);
      numbers.push_back(Number());
    }
    return numbers;
  }
  QueueDescriptor& q() { return rows.queue(); }

  DeclaredQueue rows{kRowFields, 12};
};

TEST_F(QueueTest, AddingByPositionInsertsBeforeThatEntry) {
  Fill(1, "a");
  ADD(q(), 1);
  EXPECT_EQ(RECORDS(q()), 1);
  for (int32_t n : {2, 3, 4, 5}) Add(n, "x");
  Fill(9, "first");
  ADD(q(), 1);
  EXPECT_EQ(POINTER(q()), 1);
  Fill(8, "last");
  ADD(q(), 0);
  EXPECT_EQ(POINTER(q()), 7);
  Fill(7, "beyond");
  ADD(q(), 99);
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{9, 1, 2, 3, 4, 5, 8, 7}));
}

TEST_F(QueueTest, PositionsOutsideTheQueueGive30AndChangeNothing) {
  Add(1, "a");
  Add(2, "b");
  for (int32_t position : {0, 3, -1}) {
    Fill(77, "buffer");
    GET(q(), position);
    EXPECT_EQ(ErrorCode(), 30) << position;
    EXPECT_EQ(Number(), 77);
  }
  EXPECT_EQ(MessageText(30), "Entry Not Found");
  GET(q(), 2);
  EXPECT_EQ(ErrorCode(), 0) << "every operation clears an earlier error";
  DELETE(q());
  DELETE(q());
  EXPECT_EQ(ErrorCode(), 30) << "the pointer names a removed entry";
  EXPECT_EQ(Numbers(), std::vector<int32_t>{1});
}

TEST_F(QueueTest, SortIsStableAndLaterAddsKeepTheOrder) {
  Add(3, "b");
  Add(1, "a");
  Add(3, "a");
  Add(2, "c");
  Add(1, "a");  // equal to the second entry in both fields
  SORT(q(), {2, -1});
  ASSERT_EQ(ErrorCode(), 0);
  // Names ascending, numbers descending, equal rows in arrival order.
  std::vector<std::string> names;
  for (int32_t i = 1; i <= RECORDS(q()); ++i) {
    GET(q(), i);
    names.push_back(Name().substr(0, 1) + std::to_string(Number()));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a3", "a1", "a1", "b3", "c2"}));

  Fill(1, "a");
  ADD(q());
  EXPECT_EQ(POINTER(q()), 4) << "lands after the entries it equals";
}

TEST_F(QueueTest, SortingComparesNumbersByValue) {
  for (int32_t n : {256, -5, 3, -1, 0}) Add(n, "x");
  SORT(q(), {1});
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{-5, -1, 0, 3, 256}));
  SORT(q(), {-1});
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{256, 3, 0, -1, -5}));
}

TEST_F(QueueTest, PutOnASortedQueueMovesTheEntry) {
  for (int32_t n : {10, 20, 30, 40}) Add(n, "x");
  SORT(q(), {1});
  GET(q(), 1);
  Fill(35, "x");
  PUT(q());
  EXPECT_EQ(POINTER(q()), 3);
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{20, 30, 35, 40}));

  FREE(q());
  Add(5, "x");
  Add(6, "x");
  GET(q(), 1);
  Fill(99, "x");
  PUT(q());
  EXPECT_EQ(POINTER(q()), 1) << "without a sort order the entry stays";
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{99, 6}));
}

TEST_F(QueueTest, GetByFieldsFindsTheFirstEqualEntry) {
  Add(1, "alpha");
  Add(2, "beta");
  Add(3, "beta");
  Add(4, "gamma");
  Fill(0, "beta");
  GET(q(), {2});
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(Number(), 2);
  EXPECT_EQ(POINTER(q()), 2);

  Fill(0, "delta");
  GET(q(), {2});
  EXPECT_EQ(ErrorCode(), 30);

  // ADD with a field list inserts in that order and leaves no order behind.
  Fill(9, "beta");
  ADD(q(), {2});
  EXPECT_EQ(POINTER(q()), 4);
  Fill(0, "aaa");
  ADD(q());
  EXPECT_EQ(POINTER(q()), 6) << "a plain ADD appends again";
}

TEST_F(QueueTest, BadFieldNumbersGive75) {
  Add(2, "x");
  Add(1, "y");
  SORT(q(), {1, 3});
  EXPECT_EQ(ErrorCode(), 75);
  Add(0, "z");
  EXPECT_EQ(POINTER(q()), 1) << "the order set before the bad number stays for ADD";

  Fill(5, "x");
  ADD(q(), {-3});
  EXPECT_EQ(ErrorCode(), 75);
  EXPECT_EQ(RECORDS(q()), 3) << "nothing added";
  SORT(q(), {0});
  EXPECT_EQ(ErrorCode(), 0);
}

TEST_F(QueueTest, ChangeNumbersGrowWithEveryChangeAndDifferAfterFree) {
  uint32_t start = CHANGES(q());
  Add(1, "a");
  Add(2, "b");
  GET(q(), 1);
  PUT(q());
  SORT(q(), {1});
  DELETE(q());
  GET(q(), 1);
  EXPECT_EQ(CHANGES(q()), start + 5);

  FREE(q());
  EXPECT_EQ(RECORDS(q()), 0);
  EXPECT_EQ(POINTER(q()), 0);
  EXPECT_NE(CHANGES(q()), start);
  DeclaredQueue other{kRowFields, 12};
  EXPECT_NE(CHANGES(other.queue()), CHANGES(q()));
}

}  // namespace
}  // namespace rk
