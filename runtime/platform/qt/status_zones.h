// The zones of a window's status bar. Zone 1 is the bar's own message area (where
// menu items and controls show their status messages); zones 2 onwards are fixed
// labels of the given widths. A width of -1 takes the rest of the bar.
#pragma once

#include <QLabel>
#include <QObject>
#include <QStatusBar>
#include <QString>
#include <vector>

namespace rk::platform {

class StatusZones : public QObject {
 public:
  // Owned by the bar. widthsInPixels: one entry per zone, the first for zone 1 (its width is the
  // rest of the bar whatever it says). An empty list leaves a bar of one zone.
  StatusZones(QStatusBar& bar, const std::vector<int>& widthsInPixels);

  int Count() const { return 1 + static_cast<int>(labels_.size()); }
  // Zones numbered from 1; a number out of range does nothing / reads empty.
  void SetText(int zone, const QString& text);
  QString Text(int zone) const;

 private:
  QStatusBar& bar_;
  std::vector<QLabel*> labels_;  // zones 2 onwards, owned by the bar
  QString firstZone_;            // what zone 1 shows when no status tip covers it
};

}  // namespace rk::platform
