#include "runtime/windows/list_rows.h"

#include "runtime/core/type_codes.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/queue.h"
#include "runtime/windows/property_codes.h"

namespace rk {
namespace {

std::vector<std::string> SplitChoices(std::string_view text) {
  std::vector<std::string> choices;
  size_t start = 0;
  for (;;) {
    size_t bar = text.find('|', start);
    choices.emplace_back(text.substr(start, bar - start));
    if (bar == std::string_view::npos) return choices;
    start = bar + 1;
  }
}

}  // namespace

ListRows::ListRows(const ControlRecord& record) {
  if (!record.from) return;
  const DataDescriptor& from = *record.from;
  if (from.binding.kind == BindingKind::kQueue) {
    queue_ = static_cast<QueueDescriptor*>(from.binding.address);
  } else if (from.constantText && !from.constantText->empty()) {
    choices_ = SplitChoices(*from.constantText);
  }
}

int32_t ListRows::Count() const {
  if (!queue_) return static_cast<int32_t>(choices_.size());
  return queue_->contents ? static_cast<int32_t>(queue_->contents->entries.size()) : 0;
}

uint32_t ListRows::Changes() const {
  return queue_ && queue_->contents ? queue_->contents->changes : 0;
}

std::string ListRows::FieldText(int32_t row, int32_t field) const {
  if (row < 1 || row > Count() || field < 1) return {};
  if (!queue_) return field == 1 ? choices_[row - 1] : std::string();
  const QueueContents& contents = *queue_->contents;
  if (field > static_cast<int32_t>(contents.fields.size())) return {};
  const FieldInfo& info = contents.fields[field - 1];
  if (info.end() > queue_->recordLength) return {};
  uint8_t* entry = contents.entries[row - 1].get();
  ValueRef ref =
      MakeValueRef(info.type, static_cast<int32_t>(info.size), info.places, entry + info.offset);
  if (IsTextType(ref.Type())) return std::string(RefText(ref));
  if (info.type == kGroup) return {};
  PushRef(ref);
  return Values().PopString();
}

int32_t ListRows::FieldNumber(int32_t row, int32_t field) const {
  return property::NumberOf(FieldText(row, field));
}

}  // namespace rk
