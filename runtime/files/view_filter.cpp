#include "runtime/files/view_filter.h"

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_filter.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/files/view.h"

namespace rk {
namespace {

// The buffers of one level: its record and its memos.
std::vector<RecordArea> AreasOf(const FileDescriptor& file) {
  std::vector<RecordArea> areas{{file.record, file.recordLength}};
  for (int m = 0; m < file.memoCount; ++m) {
    const MemoDescriptor* memo = file.memos ? file.memos[m] : nullptr;
    if (memo && memo->buffer) areas.push_back({memo->buffer, memo->size});
  }
  return areas;
}

bool Inside(const void* address, const RecordArea& area) {
  auto* at = static_cast<const char*>(address);
  auto* begin = static_cast<const char*>(area.begin);
  return begin && at >= begin && at < begin + area.size;
}

// A variable is known once the level whose buffers hold it is read (level + 1);
// variables outside the view are known from the start, procedures only at the end.
void AssignViewLevels(ExprNode& tree, const View& view) {
  std::vector<std::vector<RecordArea>> levels;
  for (size_t i = 0; i < view.levelCount(); ++i) levels.push_back(AreasOf(*view.level(i).file));
  AssignLevels(tree, [&](const ExprNode& leaf) {
    if (leaf.kind == NodeKind::kProcedure) return kNeverKnown;
    for (size_t i = 0; i < levels.size(); ++i) {
      for (const RecordArea& area : levels[i])
        if (Inside(leaf.symbol->ref.address, area)) return static_cast<int>(i + 1);
    }
    return 0;
  });
}

}  // namespace

ViewFilter::ViewFilter() = default;
ViewFilter::~ViewFilter() = default;

std::unique_ptr<ViewFilter> ViewFilter::Compile(std::string_view text, const View& view,
                                                int32_t& error) {
  auto filter = std::make_unique<ViewFilter>();
  filter->text_ = std::string(text);
  filter->levelTree_ = Evaluate(text);
  if (filter->levelTree_) filter->keyTree_ = Evaluate(text);
  if (!filter->levelTree_ || !filter->keyTree_) {
    error = ErrorCode() != 0 ? ErrorCode() : 800;
    return nullptr;
  }
  error = 0;
  filter->levelCount_ = view.levelCount();
  AssignViewLevels(*filter->levelTree_, view);
  std::vector<RecordArea> primary = AreasOf(view.primary());
  filter->laterAreas_.assign(primary.begin() + 1, primary.end());
  for (size_t i = 1; i < view.levelCount(); ++i) {
    std::vector<RecordArea> areas = AreasOf(*view.level(i).file);
    filter->laterAreas_.insert(filter->laterAreas_.end(), areas.begin(), areas.end());
  }
  return filter;
}

bool ViewFilter::Passes(size_t level) const {
  if (level + 1 >= levelCount_) return EvaluateAsTruth(*levelTree_);
  return EvaluateKnown(*levelTree_, static_cast<int>(level + 1)) != Truth::kFalse;
}

}  // namespace rk
