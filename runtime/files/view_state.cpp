#include "runtime/files/view_state.h"

#include <map>
#include <memory>

#include "runtime/files/error_codes.h"
#include "runtime/files/file_state.h"

namespace rk {
namespace {

std::map<const View*, std::unique_ptr<ViewState>>& States() {
  static auto* states = new std::map<const View*, std::unique_ptr<ViewState>>;
  return *states;
}

bool ValidFieldNumber(int32_t number, const std::vector<FieldInfo>& fields) {
  return number >= 1 && number <= static_cast<int32_t>(fields.size());
}

// Checks one level against the levels before it; 0 or the error.
int32_t CheckLevel(const ViewFileSpec& spec, size_t index, const std::vector<ViewLevel>& levels) {
  if (!spec.file || !spec.file->record) return file_error::kInvalidRecordDeclaration;
  for (const ViewLevel& level : levels)
    if (level.file == spec.file)
      return file_error::kInvalidRecordDeclaration;  // one record buffer per level
  if (index == 0) return spec.joinKey ? file_error::kInvalidRecordDeclaration : 0;
  const KeyDescriptor* key = spec.joinKey;
  if (!key || key->file != spec.file || !key->components)
    return file_error::kInvalidRecordDeclaration;
  if (spec.parent < 0 || static_cast<size_t>(spec.parent) >= index)
    return file_error::kInvalidRecordDeclaration;
  if (spec.parentFields.empty() || spec.parentFields.size() > key->componentCount)
    return file_error::kInvalidRecordDeclaration;
  for (int32_t number : spec.parentFields)
    if (!ValidFieldNumber(number, levels[static_cast<size_t>(spec.parent)].fields))
      return file_error::kInvalidRecordDeclaration;
  return 0;
}

int32_t MakeLevel(const ViewFileSpec& spec, size_t index, std::vector<ViewLevel>& levels) {
  if (int32_t error = CheckLevel(spec, index, levels); error != 0) return error;
  ViewLevel level;
  level.file = spec.file;
  if (!spec.file->fieldList ||
      ParseFieldList({spec.file->fieldList, spec.file->fieldListLength}, level.fields) != 0)
    return file_error::kInvalidDescriptor;
  for (const FieldInfo& field : level.fields)
    if (field.end() > spec.file->recordLength) return file_error::kInvalidDescriptor;
  for (int32_t number : spec.fields)
    if (!ValidFieldNumber(number, level.fields)) return file_error::kInvalidRecordDeclaration;
  for (int32_t number : spec.memos)
    if (number < 1 || number > spec.file->memoCount) return file_error::kInvalidRecordDeclaration;
  level.noMemo = spec.memos.empty() && spec.file->memoCount > 0;
  if (index > 0) {
    level.joinKey = spec.joinKey;
    level.parent = static_cast<size_t>(spec.parent);
    level.parentFields = spec.parentFields;
    level.joinOrder = KeyOrder(*spec.joinKey, level.fields, spec.joinKey->componentCount);
    if (level.joinOrder.size() != spec.joinKey->componentCount)
      return file_error::kInvalidRecordDeclaration;
  }
  levels.push_back(std::move(level));
  return 0;
}

}  // namespace

ViewState* ViewStateOf(View& view, int32_t& error) {
  error = 0;
  auto& states = States();
  if (auto found = states.find(&view); found != states.end()) return found->second.get();
  if (view.levelCount() == 0) {
    error = file_error::kInvalidRecordDeclaration;
    return nullptr;
  }
  auto state = std::make_unique<ViewState>();
  for (size_t i = 0; i < view.levelCount(); ++i) {
    error = MakeLevel(view.level(i), i, state->levels);
    if (error != 0) return nullptr;
  }
  const FileState* primary = view.primary().state;
  state->primaryLastOp = primary ? primary->lastSequential : 0;
  return states.emplace(&view, std::move(state)).first->second.get();
}

void ReleaseViewState(const View& view) {
  States().erase(&view);
}

}  // namespace rk
