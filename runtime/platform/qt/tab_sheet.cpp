#include "runtime/platform/qt/tab_sheet.h"

#include <QSignalBlocker>
#include <QTabWidget>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

class TabSheetWidget : public QTabWidget, public TabSheet {
 public:
  TabSheetWidget(QWidget& parent, TabSheetOwner& owner) : QTabWidget(&parent) {
    // A sheet is the background of the controls around it, also of those made
    // before it (a browse's list comes before its sheet and shows on every tab).
    lower();
    QObject::connect(this, &QTabWidget::currentChanged, [&owner] { owner.TabChanged(); });
  }

  QWidget& Widget() override { return *this; }

  void AddTab(std::string_view caption) override {
    QSignalBlocker quiet(this);
    addTab(new QWidget, FromAnsi(caption));
  }

  void SetTabCaption(int index, std::string_view caption) override {
    setTabText(index, FromAnsi(caption));
  }

  int CurrentTab() const override { return currentIndex(); }
  void SetCurrentTab(int index) override { setCurrentIndex(index); }
};

}  // namespace

TabSheet* MakeTabSheet(QWidget& parent, TabSheetOwner& owner) {
  return new TabSheetWidget(parent, owner);
}

}  // namespace rk::platform
