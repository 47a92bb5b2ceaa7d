// Widgets that only show a caption: a label (STRING, USESTRING, PROMPT) and a
// framed group box (GROUP). A group box lets mouse clicks through to the
// controls drawn inside it, which are not its children.
#pragma once

#include <string_view>

#include "runtime/platform/qt/control_widget.h"

namespace rk::platform {

enum class CaptionKind { kLabel, kGroupBox };

class CaptionWidget : public ControlWidget {
 public:
  // Windows-1252, shown as it is.
  virtual void SetCaption(std::string_view caption) = 0;

 protected:
  ~CaptionWidget() = default;
};

CaptionWidget* MakeCaptionWidget(QWidget& parent, CaptionKind kind, std::string_view caption);

}  // namespace rk::platform
