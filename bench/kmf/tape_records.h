// The records both stores are given: home-recorded tapes with a 32-bit serial,
// a title, two dates and the tape's description fields, generated from a fixed
// seed so that every run measures the same work.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace rk::bench {

struct Tape {
  int32_t serial = 0;
  std::string title;
  int32_t startDate = 0;
  int32_t endDate = 0;
  std::string type;
  std::string manufacturer;
  std::string format;
  std::string speed;
  std::string length;
};

// Tapes with the serials first .. first + count - 1.
std::vector<Tape> MakeTapes(int32_t first, int32_t count, uint32_t seed);

// Serials drawn uniformly from 1 .. highest.
std::vector<int32_t> RandomSerials(int32_t highest, int32_t count, uint32_t seed);

// (serial, new title) pairs for distinct random serials of 1 .. highest.
std::vector<std::pair<int32_t, std::string>> Retitles(int32_t highest, int32_t count,
                                                      uint32_t seed);

}  // namespace rk::bench
