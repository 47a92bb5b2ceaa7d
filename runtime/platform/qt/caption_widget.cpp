#include "runtime/platform/qt/caption_widget.h"

#include <QGroupBox>
#include <QLabel>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

class Label : public QLabel, public CaptionWidget {
 public:
  explicit Label(QWidget& parent) : QLabel(&parent) {}
  QWidget& Widget() override { return *this; }
  void SetCaption(std::string_view caption) override { setText(FromAnsi(caption)); }
};

class GroupBox : public QGroupBox, public CaptionWidget {
 public:
  explicit GroupBox(QWidget& parent) : QGroupBox(&parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  QWidget& Widget() override { return *this; }
  void SetCaption(std::string_view caption) override { setTitle(FromAnsi(caption)); }
};

}  // namespace

CaptionWidget* MakeCaptionWidget(QWidget& parent, CaptionKind kind, std::string_view caption) {
  CaptionWidget* widget = nullptr;
  if (kind == CaptionKind::kGroupBox) {
    widget = new GroupBox(parent);
  } else {
    widget = new Label(parent);
  }
  widget->SetCaption(caption);
  return widget;
}

}  // namespace rk::platform
