// Range limits of a view's walk over the primary file's ordering key. When the
// filter fixes the leading components of the key (ITE:SERIAL = HTA:SERIAL over
// ITE:SERIAL_NO), or bounds the first component it does not fix, the walk
// positions itself at the first key value that can pass with SET(key, key) and
// ends at the first record beyond the last one, instead of reading the rest of
// the file. The limits come from the filter analysis (expr_filter.h), whose
// bounds are sound: a record outside them cannot pass the filter, so skipping
// it changes nothing in what the view yields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/files/file_descriptor.h"
#include "runtime/files/view_key_order.h"

namespace rk {

class ViewFilter;
struct ExprNode;
struct FilterKey;
struct KeyComponent;
struct KeyLimit;
struct RecordArea;

// Where a record lies against the limits, in the direction of the walk.
enum class RangePlace : uint8_t { kBefore, kInside, kBeyond };

class ViewRange {
 public:
  ViewRange();
  ~ViewRange();
  ViewRange(const ViewRange&) = delete;
  ViewRange& operator=(const ViewRange&) = delete;

  // Forgets the analysis (a new filter or another ordering key).
  void Invalidate() { analysedKey_ = -1; }

  // Analyses `filter` for ordering key `keyNumber` (from 1; 0 = record order,
  // which has no limits) of `primary`, whose fields are `fields`.
  void Analyse(const ViewFilter* filter, FileDescriptor& primary,
               const std::vector<FieldInfo>& fields, int32_t keyNumber);
  bool AnalysedFor(int32_t keyNumber) const { return analysedKey_ == keyNumber; }

  // Works out the limits from the current values of the variables that the
  // filter compares the key with; called before the primary file is read, so
  // that the limits follow those values. Writes the fixed components into the
  // primary record buffer.
  void Prepare();

  // Whether the walk in that direction can start later than the key's first entry.
  bool HasStart(bool forward) const;
  // Writes the key value the walk starts from into the primary record buffer.
  void StoreStart(uint8_t* record, bool forward) const;
  RangePlace Locate(const uint8_t* record, bool forward) const;

 private:
  // -1 (before), 0 or 1 (after) for component `index` of the record against an
  // encoded limit.
  int CompareComponent(size_t index, const uint8_t* record, const std::string& limit) const;
  FilterKey Key() const;

  // A limit of one component: its encoding and its bytes in the record.
  struct Bound {
    std::string encoded;
    std::vector<uint8_t> bytes;
  };
  std::optional<Bound> StoreBound(size_t index, const KeyLimit& limit);
  void WriteBound(size_t index, const Bound& bound, uint8_t* record) const;

  int32_t analysedKey_ = -1;
  ExprNode* tree_ = nullptr;
  uint8_t* record_ = nullptr;
  size_t recordSize_ = 0;
  KeyOrder order_;
  std::vector<KeyComponent> components_;
  std::vector<RecordArea> laterAreas_;

  // From Prepare: the fixed components, then for the first component not fixed
  // its first and last value in key order (none: open).
  std::vector<Bound> fixed_;
  std::optional<Bound> keyFirst_;
  std::optional<Bound> keyLast_;
};

}  // namespace rk
