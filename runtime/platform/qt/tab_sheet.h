// The tab sheet of a SHEET control. Its pages stay empty: the controls of a
// tab are children of the window's client, shown and hidden by their owner. The
// sheet lies behind every other control of its window.
#pragma once

#include <string_view>

#include "runtime/platform/qt/control_widget.h"

namespace rk::platform {

class TabSheetOwner {
 public:
  // Another tab is shown: the person chose it or the owner turned to it.
  virtual void TabChanged() = 0;

 protected:
  ~TabSheetOwner() = default;
};

class TabSheet : public ControlWidget {
 public:
  // Adds a tab with its caption (Windows-1252, with its hot-key markers). Adding
  // the first tab selects it; that is no change the owner hears of.
  virtual void AddTab(std::string_view caption) = 0;
  virtual void SetTabCaption(int index, std::string_view caption) = 0;
  // The shown tab from 0; -1 while there is none.
  virtual int CurrentTab() const = 0;
  virtual void SetCurrentTab(int index) = 0;

 protected:
  ~TabSheet() = default;
};

// The owner must outlive the sheet.
TabSheet* MakeTabSheet(QWidget& parent, TabSheetOwner& owner);

}  // namespace rk::platform
