// Filter analysis: what a record filter can already decide, and which values it
// allows, while a file is read in key order and only the leading components of
// the key are known.
//
// 1. Levels. Every node gets the number of leading key components needed to
//    decide it. Leaves get theirs from the caller; NOT and unary minus take
//    their operand's level, AND and OR the smaller of their operands' levels,
//    every other node the largest of its operands' (0 without operands).
// 2. Three-valued evaluation with k leading components known: a node above
//    level k is unknown; AND is false when either side is false, OR true when
//    either side is true; anything else decidable is evaluated normally. The
//    answer is sound: false only when no record with those leading components
//    can pass the filter.
// 3. Bounds. Comparisons between one key component and an expression of a lower
//    level, inside AND/OR/NOT structure, give the range of values that the
//    component can take in a passing record; the view positions on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>

#include "runtime/core/expr_tree.h"
#include "runtime/core/value_ref.h"

namespace rk {

// Encoding of the three-valued answer.
enum class Truth : uint8_t { kTrue = 0, kFalse = 1, kUnknown = 2 };

// A leaf level that no number of known components reaches.
inline constexpr int kNeverKnown = std::numeric_limits<int>::max();

// The level of a leaf: called for variables, subscripts, slices and procedure
// calls. Constants and argument-less functions are level 0.
using LeafLevel = std::function<int(const ExprNode& leaf)>;
void AssignLevels(ExprNode& tree, const LeafLevel& leafLevel);

struct KeyComponent {
  ValueRef field;           // the component's field in the record buffer
  bool descending = false;  // the key orders this component from high to low
  bool noCase = false;      // the key compares this component without case
};

// A buffer whose variables the filter may name.
struct RecordArea {
  const void* begin = nullptr;
  size_t size = 0;
};

// The key the file is read by and the record buffer its fields live in.
struct FilterKey {
  std::span<const KeyComponent> components;
  const void* record = nullptr;
  size_t recordSize = 0;
  // Buffers that are filled only after the record is read (the other files of a
  // join, memos): variables in them are never known while the key is read.
  std::span<const RecordArea> laterAreas;
};

// Levels for reading by `key`: a key component is its position (1 for the
// first); any other field of the record is known only when the whole key is
// (components + 1); variables in the later areas and procedures are never
// known; other variables are 0.
void AssignKeyLevels(ExprNode& tree, const FilterKey& key);

// The answer with `known` leading components known. Levels must be assigned.
Truth EvaluateKnown(const ExprNode& tree, int known);

// One end of a component's range, in the component's own terms: a number for
// numeric components (whole for integer types, clamped to the type's range), a
// text for text components. Both ends are inclusive.
struct KeyLimit {
  bool present = false;
  double number = 0;
  std::string text;
};

// The values that component `index` (counted from 0) can take in a record that
// passes, given the current values of the components before it. Ends are in
// value order; on a descending component the view starts from `upper`.
struct ComponentBounds {
  KeyLimit lower;
  KeyLimit upper;
};
ComponentBounds FindComponentBounds(const ExprNode& tree, const FilterKey& key, size_t index);

// Writes a limit into the component's field, so that the key can be positioned
// on it.
void StoreLimit(const KeyComponent& component, const KeyLimit& limit);

}  // namespace rk
