// SHEET and TAB: a tab sheet whose tabs each show their own controls. The
// controls on a tab are children of the window's client like all others (placed
// in window coordinates above the sheet); the sheet shows those of the selected
// tab and hides the rest. The choice is the selected tab, from 1.
#include "runtime/platform/qt/tab_sheet.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

class TabControl;

class SheetControl : public Control, private platform::TabSheetOwner {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    tabs_ = platform::MakeTabSheet(parent, *this);
    SetWidget(&tabs_->Widget(), place);
  }

  void AddTab(TabControl* tab, std::string_view text) {
    pages_.push_back(tab);
    tabs_->AddTab(HotKeyText(text));
    ConcealOtherTabs();
  }

  void SetTabText(const TabControl* tab, std::string_view text) {
    for (size_t i = 0; i < pages_.size(); ++i) {
      if (pages_[i] == tab) tabs_->SetTabCaption(static_cast<int>(i), HotKeyText(text));
    }
  }

  int32_t Choice() const override { return tabs_ ? tabs_->CurrentTab() + 1 : 0; }

  // Turns to the tab at once, so that a control on it can take the focus now;
  // the procedure hears of the change when the widget's notice arrives.
  void TurnTo(const TabControl* tab) {
    for (size_t i = 0; i < pages_.size(); ++i) {
      if (pages_[i] != tab || tabs_->CurrentTab() == static_cast<int>(i)) continue;
      tabs_->SetCurrentTab(static_cast<int>(i));
      ConcealOtherTabs();
    }
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticeTabChanged) return {};
    ConcealOtherTabs();
    return {{event::kTabChanging, Number()}, {event::kNewSelection, Number()}};
  }

 private:
  void TabChanged() override { Notify(kNoticeTabChanged); }
  void ConcealOtherTabs();

  platform::TabSheet* tabs_ = nullptr;
  std::vector<TabControl*> pages_;
};

class TabControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget&, const platform::PixelRect&) override {
    if (auto* sheet = dynamic_cast<SheetControl*>(Container())) sheet->AddTab(this, Text());
  }

  void RevealChild(const Control&) override {
    if (auto* sheet = dynamic_cast<SheetControl*>(Container())) sheet->TurnTo(this);
  }

 protected:
  void ShowText() override {
    if (auto* sheet = dynamic_cast<SheetControl*>(Container())) sheet->SetTabText(this, Text());
  }
};

void SheetControl::ConcealOtherTabs() {
  int32_t choice = Choice();
  for (size_t i = 0; i < pages_.size(); ++i) {
    pages_[i]->SetConcealed(static_cast<int32_t>(i + 1) != choice);
  }
  for (const std::unique_ptr<Control>& control : OwnerWindow().controls) {
    control->RefreshVisibility();
  }
}

}  // namespace

std::unique_ptr<Control> MakeSheetControl(Window& window, const ControlRecord& record) {
  return std::make_unique<SheetControl>(window, record);
}

std::unique_ptr<Control> MakeTabControl(Window& window, const ControlRecord& record) {
  return std::make_unique<TabControl>(window, record);
}

}  // namespace rk
