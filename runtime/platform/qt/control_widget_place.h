// What the window system does with any control's widget, whatever its kind:
// gives it its place, font and tooltip, enables, shows and focuses it, names it
// for assistive tools, and holds it for its control. The widget is only named
// here, so the window system needs no Qt header to do it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "runtime/platform/qt/font_record.h"
#include "runtime/platform/qt/platform_message.h"

class QWidget;

namespace rk::platform {

// A control's place in its window's client, in pixels.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Sets up a control's new widget: its font, its place (a width or height of 0
// takes the widget's natural size), its tooltip (Windows-1252, none when empty)
// and enabled state, and hands its focus, keys and double clicks to the
// control's runtime thread as messages for `control`.
void PlaceControlWidget(QWidget& widget, const PixelRect& place, const FontRecord& font,
                        std::string_view tooltip, bool enabled, FiberId thread, uint32_t control);

void EnableWidget(QWidget& widget, bool enabled);
void ShowWidget(QWidget& widget, bool shown);
void FocusWidget(QWidget& widget);
// Gives the focus back to a widget that refused its value.
void ReturnFocusTo(QWidget& widget);
// Whether the focus is in a widget outside `window` (and its children); false
// when no widget has it.
bool FocusIsOutside(const QWidget& window);
// Whether the widget takes the focus at all (a label does not).
bool TakesFocus(const QWidget& widget);
// The widget's window is the active one but the focus is not in the widget.
bool FocusElsewhereInActiveWindow(const QWidget& widget);
// The name assistive tools speak for the widget (Windows-1252).
void SetAccessibleName(QWidget& widget, std::string_view name);

// Holds a control's widget: deletes it when told or when the holder goes,
// unless its parent window has deleted it first.
class WidgetHolder {
 public:
  WidgetHolder();
  ~WidgetHolder();
  WidgetHolder(const WidgetHolder&) = delete;
  WidgetHolder& operator=(const WidgetHolder&) = delete;

  void Hold(QWidget* widget);
  // The widget, or nullptr when there is none (any more).
  QWidget* Get() const;
  void Delete();

 private:
  struct Guard;
  std::unique_ptr<Guard> guard_;
};

}  // namespace rk::platform
