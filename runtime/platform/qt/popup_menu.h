// A popup (context) menu shown without a nested event loop. When it closes it
// posts the number of the chosen item, or 0 when none was chosen, to the owning
// runtime thread as a kDialogResult message whose target is the menu.
#pragma once

#include <QMenu>
#include <QPoint>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/platform/qt/platform_message.h"

namespace rk::platform {

class Scheduler;

struct PopupItem {
  enum class Kind { kItem, kSeparator, kSubmenu };
  Kind kind = Kind::kItem;
  std::string text;  // Windows-1252
  bool greyed = false;
  bool checked = false;
  int32_t number = 0;               // kItem only
  std::vector<PopupItem> children;  // kSubmenu only
};

class PopupMenu : public QMenu {
 public:
  PopupMenu(const std::vector<PopupItem>& items, Scheduler& scheduler, FiberId thread);
  // A menu destroyed before it reported still ends the wait (with 0).
  ~PopupMenu() override;

  uintptr_t Tag() const { return reinterpret_cast<uintptr_t>(this); }
  // Shows the menu at a global position; deletes itself once it has reported.
  void Show(QPoint globalPosition);
  // Shows it at (x, y) in `window` (on the screen without one).
  void ShowAt(const QWidget* window, int x, int y);
  // Shows it where the mouse pointer is.
  void ShowAtPointer();

 private:
  void AddItems(QMenu& menu, const std::vector<PopupItem>& items);
  void Report(int32_t number);

  Scheduler& scheduler_;
  FiberId thread_;
  bool reported_ = false;
};

}  // namespace rk::platform
