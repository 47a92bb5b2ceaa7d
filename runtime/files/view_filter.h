// The filter of a view, compiled from its text twice: one tree whose node
// levels count the view's levels, so that a combination is refused as soon as
// the levels read so far decide it, and one tree for the range analysis of the
// primary file's ordering key (its levels count key components).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rk {

class View;
struct ExprNode;
struct RecordArea;

class ViewFilter {
 public:
  ViewFilter();
  ~ViewFilter();
  ViewFilter(const ViewFilter&) = delete;
  ViewFilter& operator=(const ViewFilter&) = delete;

  // The filter, or none with the evaluator's error (800 or 801) in `error`.
  static std::unique_ptr<ViewFilter> Compile(std::string_view text, const View& view,
                                             int32_t& error);

  const std::string& text() const { return text_; }

  // Whether the combination read down to `level` can still pass; at the last
  // level of the view this is the filter's own answer.
  bool Passes(size_t level) const;

  // The tree for the range analysis; its levels are set by AssignKeyLevels.
  ExprNode& keyTree() const { return *keyTree_; }
  // The buffers of every level but the primary's record: never known while the
  // primary file is read.
  const std::vector<RecordArea>& laterAreas() const { return laterAreas_; }

 private:
  std::string text_;
  std::unique_ptr<ExprNode> levelTree_;
  std::unique_ptr<ExprNode> keyTree_;
  size_t levelCount_ = 0;
  std::vector<RecordArea> laterAreas_;
};

}  // namespace rk
