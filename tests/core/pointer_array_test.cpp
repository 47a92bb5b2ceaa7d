#include "runtime/core/pointer_array.h"

#include <gtest/gtest.h>

#include <vector>

namespace rk {
namespace {

// Records its own destruction.
class Tracked : public ArrayElement {
 public:
  Tracked(int id, std::vector<int>& destroyed) : id_(id), destroyed_(destroyed) {}
  ~Tracked() override { destroyed_.push_back(id_); }
  int id() const { return id_; }

 private:
  int id_;
  std::vector<int>& destroyed_;
};

TEST(PointerArray, GrowsAlongTheCapacityTable) {
  PointerArray array;
  std::vector<int> destroyed;
  std::vector<uint8_t> steps;
  for (int i = 0; i < 257; ++i) {
    ArrayInsert(array, new Tracked(i, destroyed), array.count);
    steps.push_back(array.step);
  }
  EXPECT_EQ(ArrayCapacity(steps[7]), 8u);   // 8 elements
  EXPECT_EQ(ArrayCapacity(steps[8]), 16u);  // the 9th moves to 16
  EXPECT_EQ(ArrayCapacity(steps[255]), 256u);
  EXPECT_EQ(ArrayCapacity(steps[256]), 1024u);  // the 257th skips 512
  for (uint32_t i = 0; i < array.count; ++i) {
    ASSERT_EQ(static_cast<Tracked*>(ArrayAt(array, i))->id(), static_cast<int>(i));
  }
  ArrayDestroy(array);
  EXPECT_EQ(destroyed.size(), 257u);
  EXPECT_EQ(array.count, 0u);
  EXPECT_EQ(array.items, nullptr);
}

TEST(PointerArray, InsertAndRemoveKeepOrder) {
  PointerArray array;
  std::vector<int> destroyed;
  ArrayInsert(array, new Tracked(1, destroyed), 0);
  ArrayInsert(array, new Tracked(3, destroyed), 1);
  ArrayInsert(array, new Tracked(2, destroyed), 1);
  ArrayInsert(array, new Tracked(0, destroyed), 0);
  ArrayInsert(array, nullptr, 99);  // beyond the end: appended
  ASSERT_EQ(array.count, 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(static_cast<Tracked*>(ArrayAt(array, i))->id(), i);

  auto* kept = static_cast<Tracked*>(ArrayAt(array, 1));
  ArrayRemove(array, 1, true);
  EXPECT_TRUE(destroyed.empty());
  ArrayRemove(array, 0, false);
  EXPECT_EQ(destroyed, std::vector<int>{0});
  ArrayRemove(array, 7, false);  // ignored
  EXPECT_EQ(array.count, 3u);
  EXPECT_EQ(static_cast<Tracked*>(ArrayAt(array, 0))->id(), 2);

  ArrayDestroy(array);  // skips the null entry
  EXPECT_EQ(destroyed, (std::vector<int>{0, 2, 3}));
  delete kept;
}

TEST(PointerArrayDeathTest, RefusesToGrowPastTheCeiling) {
  PointerArray array;
  for (uint32_t i = 0; i < kPointerArrayCeiling; ++i) ArrayInsert(array, nullptr, array.count);
  EXPECT_EQ(array.count, kPointerArrayCeiling);
  EXPECT_EXIT(ArrayInsert(array, nullptr, 0), ::testing::ExitedWithCode(2),
              "Out of memory in WSLARRAY!");
  ArrayFree(array);
}

}  // namespace
}  // namespace rk
