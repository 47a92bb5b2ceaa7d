// The layout of the runtime's message box, in pixels of its font.
//
// In dialog units of the font: margins of 5; the text is word-wrapped in a width
// of 200 and measured 10 pixels taller; the text area is the text plus two
// margins and at least 45 high; an icon stands 5 from the left edge and the text
// 5 to its right, both centred vertically in the text area. The buttons, 50 by 14
// and 5 apart, form one row centred below the text area; the dialog is widened to
// hold the row and two margins, and is the text area, the row and one margin high.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace rk::platform {

inline constexpr int kMessageIconPixels = 32;  // the system's icon size

struct MessageLayout {
  QSize dialog;
  QRect text;
  QRect icon;  // empty without an icon
  std::vector<QRect> buttons;
};

MessageLayout LayOutMessage(const QFont& font, const QString& text, bool withIcon, int buttonCount);

}  // namespace rk::platform
