// SHEET and TAB: a tab sheet whose tabs each show their own controls. The
// controls on a tab are children of the window's client like all others (placed
// in window coordinates above the sheet); the sheet shows those of the selected
// tab and hides the rest. The choice is the selected tab, from 1.
#include <QSignalBlocker>
#include <QTabWidget>

#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

class TabControl;

class SheetControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    tabs_ = new QTabWidget(&parent);
    // A sheet is the background of the controls around it, also of those made
    // before it (a browse's list comes before its sheet and shows on every tab).
    tabs_->lower();
    QObject::connect(tabs_, &QTabWidget::currentChanged, [this] { Notify(kNoticeTabChanged); });
    SetWidget(tabs_, place);
  }

  void AddTab(TabControl* tab, std::string_view text) {
    pages_.push_back(tab);
    // Adding the first tab selects it; that is no change the procedure hears of.
    QSignalBlocker quiet(tabs_);
    tabs_->addTab(new QWidget, HotKeyText(text));
    ConcealOtherTabs();
  }

  void SetTabText(const TabControl* tab, std::string_view text) {
    for (size_t i = 0; i < pages_.size(); ++i) {
      if (pages_[i] == tab) tabs_->setTabText(static_cast<int>(i), HotKeyText(text));
    }
  }

  int32_t Choice() const override { return tabs_ ? tabs_->currentIndex() + 1 : 0; }

  // Turns to the tab at once, so that a control on it can take the focus now;
  // the procedure hears of the change when the widget's notice arrives.
  void TurnTo(const TabControl* tab) {
    for (size_t i = 0; i < pages_.size(); ++i) {
      if (pages_[i] != tab || tabs_->currentIndex() == static_cast<int>(i)) continue;
      tabs_->setCurrentIndex(static_cast<int>(i));
      ConcealOtherTabs();
    }
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticeTabChanged) return {};
    ConcealOtherTabs();
    return {{event::kTabChanging, Number()}, {event::kNewSelection, Number()}};
  }

 private:
  void ConcealOtherTabs();

  QTabWidget* tabs_ = nullptr;
  std::vector<TabControl*> pages_;
};

class TabControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget&, const QRect&) override {
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
