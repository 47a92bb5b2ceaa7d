#include "runtime/platform/qt/message_layout.h"

#include <QFontMetrics>
#include <algorithm>

#include "runtime/platform/qt/dialog_units.h"

namespace rk::platform {
namespace {

constexpr int kMargin = 5;
constexpr int kWrapWidth = 200;
constexpr int kExtraTextPixels = 10;
constexpr int kMinimumTextArea = 45;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 5;

QSize MeasureText(const QFont& font, const QString& text, int wrapPixels) {
  QFontMetrics metrics(font);
  QRect bounds = metrics.boundingRect(QRect(0, 0, wrapPixels, 1 << 20),
                                      Qt::AlignLeft | Qt::TextWordWrap, text);
  return {bounds.width(), bounds.height() + kExtraTextPixels};
}

}  // namespace

MessageLayout LayOutMessage(const QFont& font, const QString& text, bool withIcon,
                            int buttonCount) {
  DialogBaseUnits base = BaseUnitsOf(font);
  const int marginX = DialogToPixelsX(kMargin, base);
  const int marginY = DialogToPixelsY(kMargin, base);
  QSize textSize = MeasureText(font, text, DialogToPixelsX(kWrapWidth, base));

  MessageLayout layout;
  int areaHeight =
      std::max(textSize.height() + 2 * marginY, DialogToPixelsY(kMinimumTextArea, base));
  int textLeft = marginX;
  if (withIcon) {
    layout.icon = QRect(marginX, (areaHeight - kMessageIconPixels) / 2, kMessageIconPixels,
                        kMessageIconPixels);
    textLeft = layout.icon.right() + 1 + marginX;
  }
  layout.text = QRect(QPoint(textLeft, (areaHeight - textSize.height()) / 2), textSize);

  const int buttonWidth = DialogToPixelsX(kButtonWidth, base);
  const int buttonHeight = DialogToPixelsY(kButtonHeight, base);
  const int gap = DialogToPixelsX(kButtonGap, base);
  int count = std::max(buttonCount, 0);
  int rowWidth = count == 0 ? 0 : count * buttonWidth + (count - 1) * gap;
  int width = std::max(layout.text.right() + 1 + marginX, rowWidth + 2 * marginX);
  int left = (width - rowWidth) / 2;
  for (int i = 0; i < count; ++i) {
    layout.buttons.emplace_back(left + i * (buttonWidth + gap), areaHeight, buttonWidth,
                                buttonHeight);
  }
  layout.dialog = QSize(width, areaHeight + buttonHeight + marginY);
  return layout;
}

}  // namespace rk::platform
