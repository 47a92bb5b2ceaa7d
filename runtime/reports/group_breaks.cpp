#include "runtime/reports/group_breaks.h"

namespace rk {

void GroupBreaks::CloseFrom(size_t level, std::vector<GroupAction>& actions) {
  while (open_.size() > level) {
    actions.push_back({GroupAction::kClose, open_.back()});
    open_.pop_back();
    remembered_.pop_back();
  }
}

std::vector<GroupAction> GroupBreaks::BeforeDetail(const std::vector<int>& enclosing) {
  std::vector<GroupAction> actions;
  // 1. The open groups form a chain from the outermost; the first place where it
  //    leaves the detail's chain is where closing stops.
  size_t shared = 0;
  while (shared < open_.size() && shared < enclosing.size() && open_[shared] == enclosing[shared]) {
    ++shared;
  }
  CloseFrom(shared, actions);
  // 2. The outermost changed break variable.
  for (size_t level = 0; level < open_.size(); ++level) {
    if (valueOf_(open_[level]) != remembered_[level]) {
      CloseFrom(level, actions);
      break;
    }
  }
  // 3. Open what is missing, outermost first.
  for (size_t level = open_.size(); level < enclosing.size(); ++level) {
    open_.push_back(enclosing[level]);
    remembered_.emplace_back();
    actions.push_back({GroupAction::kOpen, enclosing[level]});
  }
  // 4. Remember the values of every open group.
  for (size_t level = 0; level < open_.size(); ++level) remembered_[level] = valueOf_(open_[level]);
  return actions;
}

std::vector<GroupAction> GroupBreaks::CloseAll() {
  std::vector<GroupAction> actions;
  CloseFrom(0, actions);
  return actions;
}

}  // namespace rk
