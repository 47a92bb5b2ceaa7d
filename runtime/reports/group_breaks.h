// The open groups of a report and the five steps that PRINT takes before it
// places a detail band:
//   1. close every open group that does not enclose the detail, innermost first;
//   2. among the groups still open, find the outermost whose break variable
//      differs from the value remembered for it, and close it and every group
//      inside it, innermost first;
//   3. open every enclosing group that is not open, outermost first;
//   4. remember the break variable of every open group;
//   5. place the detail (left to the caller).
// Closing a group places its footer, opening one its header; the caller does that
// for each action in the order returned.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rk {

struct GroupAction {
  enum Kind { kClose, kOpen } kind;
  int group = 0;
  bool operator==(const GroupAction&) const = default;
};

class GroupBreaks {
 public:
  // The current value of a group's break variable, as bytes.
  using ValueOf = std::function<std::string(int group)>;

  explicit GroupBreaks(ValueOf valueOf) : valueOf_(std::move(valueOf)) {}

  // Steps 1 to 4 for a detail enclosed by `enclosing` (outermost first).
  std::vector<GroupAction> BeforeDetail(const std::vector<int>& enclosing);
  // Closes every open group, innermost first (the report's end).
  std::vector<GroupAction> CloseAll();

  const std::vector<int>& OpenGroups() const { return open_; }

 private:
  void CloseFrom(size_t level, std::vector<GroupAction>& actions);

  ValueOf valueOf_;
  std::vector<int> open_;  // outermost first
  std::vector<std::string> remembered_;
};

}  // namespace rk
