#include "runtime/files/view_range.h"

#include <cstring>

#include "runtime/core/expr_filter.h"
#include "runtime/files/field_compare.h"
#include "runtime/files/view_filter.h"

namespace rk {
namespace {

RangePlace Side(bool belowInKeyOrder, bool forward) {
  return belowInKeyOrder == forward ? RangePlace::kBefore : RangePlace::kBeyond;
}

}  // namespace

ViewRange::ViewRange() = default;
ViewRange::~ViewRange() = default;

void ViewRange::Analyse(const ViewFilter* filter, FileDescriptor& primary,
                        const std::vector<FieldInfo>& fields, int32_t keyNumber) {
  analysedKey_ = keyNumber;
  tree_ = nullptr;
  components_.clear();
  fixed_.clear();
  keyFirst_.reset();
  keyLast_.reset();
  // Texts of an OEM file are keyed by other weights than the filter compares by.
  if (!filter || keyNumber < 1 || keyNumber > primary.keyCount || !primary.keys ||
      (primary.attributes & kFileAttrOem))
    return;
  const KeyDescriptor& key = *primary.keys[keyNumber - 1];
  order_ = KeyOrder(key, fields, key.componentCount);
  if (order_.size() != key.componentCount || order_.size() == 0) return;
  record_ = primary.record;
  recordSize_ = primary.recordLength;
  for (size_t i = 0; i < order_.size(); ++i) {
    const FieldInfo& field = order_.field(i);
    components_.push_back(
        {FieldValueRef(field, record_), order_.descending(i), ComponentIgnoresCase(key, field)});
  }
  laterAreas_ = filter->laterAreas();
  tree_ = &filter->keyTree();
  AssignKeyLevels(*tree_, Key());
}

FilterKey ViewRange::Key() const {
  return FilterKey{components_, record_, recordSize_, laterAreas_};
}

std::optional<ViewRange::Bound> ViewRange::StoreBound(size_t index, const KeyLimit& limit) {
  if (!limit.present) return std::nullopt;
  StoreLimit(components_[index], limit);
  const FieldInfo& field = order_.field(index);
  Bound bound;
  bound.encoded = order_.Encode(index, record_);
  bound.bytes.assign(record_ + field.offset, record_ + field.offset + field.size);
  return bound;
}

void ViewRange::WriteBound(size_t index, const Bound& bound, uint8_t* record) const {
  std::memcpy(record + order_.field(index).offset, bound.bytes.data(), bound.bytes.size());
}

void ViewRange::Prepare() {
  fixed_.clear();
  keyFirst_.reset();
  keyLast_.reset();
  if (!tree_) return;
  FilterKey key = Key();
  for (size_t i = 0; i < order_.size(); ++i) {
    ComponentBounds bounds = FindComponentBounds(*tree_, key, i);
    std::optional<Bound> lower = StoreBound(i, bounds.lower);
    std::optional<Bound> upper = StoreBound(i, bounds.upper);
    if (lower && upper && lower->encoded == upper->encoded) {
      // The record holds the value, for the bounds of the next component.
      fixed_.push_back(std::move(*lower));
      continue;
    }
    // A descending component sorts its highest value first.
    bool descending = order_.descending(i);
    keyFirst_ = descending ? std::move(upper) : std::move(lower);
    keyLast_ = descending ? std::move(lower) : std::move(upper);
    return;
  }
}

bool ViewRange::HasStart(bool forward) const {
  return tree_ && (!fixed_.empty() || (forward ? keyFirst_ : keyLast_).has_value());
}

void ViewRange::StoreStart(uint8_t* record, bool forward) const {
  size_t i = 0;
  for (; i < fixed_.size(); ++i) WriteBound(i, fixed_[i], record);
  if (i >= order_.size()) return;
  const std::optional<Bound>& start = forward ? keyFirst_ : keyLast_;
  if (start) {
    WriteBound(i++, *start, record);
  }
  // Every value of the remaining components lies after (before) these.
  for (; i < order_.size(); ++i) order_.FillExtreme(i, record, !forward);
}

int ViewRange::CompareComponent(size_t index, const uint8_t* record,
                                const std::string& limit) const {
  int order = order_.Encode(index, record).compare(limit);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

RangePlace ViewRange::Locate(const uint8_t* record, bool forward) const {
  if (!tree_) return RangePlace::kInside;
  for (size_t i = 0; i < fixed_.size(); ++i) {
    int order = CompareComponent(i, record, fixed_[i].encoded);
    if (order != 0) return Side(order < 0, forward);
  }
  size_t next = fixed_.size();
  if (next >= order_.size()) return RangePlace::kInside;
  if (keyFirst_ && CompareComponent(next, record, keyFirst_->encoded) < 0)
    return Side(true, forward);
  if (keyLast_ && CompareComponent(next, record, keyLast_->encoded) > 0)
    return Side(false, forward);
  return RangePlace::kInside;
}

}  // namespace rk
