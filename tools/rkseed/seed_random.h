// A small deterministic random source: the same seed gives the same collection on
// every machine and compiler (the standard library's distributions may differ).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace rk::seed {

class SeedRandom {
 public:
  explicit SeedRandom(uint64_t seed) : state_(seed) {}

  // splitmix64
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number from low to high, both included.
  int32_t Between(int32_t low, int32_t high) {
    uint64_t span = static_cast<uint64_t>(int64_t{high} - low) + 1;
    return static_cast<int32_t>(low + static_cast<int64_t>(Next() % span));
  }
  bool Chance(int percent) { return Between(1, 100) <= percent; }
  template <typename T>
  const T& Pick(std::span<const T> choices) {
    return choices[Next() % choices.size()];
  }

 private:
  uint64_t state_;
};

}  // namespace rk::seed
