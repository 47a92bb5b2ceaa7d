#include "runtime/platform/qt/status_zones.h"

namespace rk::platform {

StatusZones::StatusZones(QStatusBar& bar, const std::vector<int>& widthsInPixels)
    : QObject(&bar), bar_(bar) {
  for (size_t zone = 1; zone < widthsInPixels.size(); ++zone) {
    auto* label = new QLabel(&bar);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    int width = widthsInPixels[zone];
    if (width < 0) {
      bar.addPermanentWidget(label, 1);
    } else {
      label->setFixedWidth(width);
      bar.addPermanentWidget(label);
    }
    labels_.push_back(label);
  }
  // A status tip clears the message area when the pointer leaves the item; the
  // zone's own text comes back then.
  connect(&bar, &QStatusBar::messageChanged, this, [this](const QString& message) {
    if (message.isEmpty() && !firstZone_.isEmpty()) bar_.showMessage(firstZone_);
  });
}

void StatusZones::SetText(int zone, const QString& text) {
  if (zone == 1) {
    firstZone_ = text;
    bar_.showMessage(text);
  } else if (zone >= 2 && zone <= Count()) {
    labels_[zone - 2]->setText(text);
  }
}

QString StatusZones::Text(int zone) const {
  if (zone == 1) return bar_.currentMessage();
  if (zone >= 2 && zone <= Count()) return labels_[zone - 2]->text();
  return {};
}

}  // namespace rk::platform
