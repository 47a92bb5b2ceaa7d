// The typefaces the runtime's definitions name, mapped onto the faces this
// platform has: "MS Sans Serif" and "Helv" onto a sans face, "Arial" onto the
// metric-compatible Liberation Sans, "FixedSys" onto DejaVu Sans Mono.
#pragma once

#include <QFont>
#include <QString>

namespace rk::platform {

// Registers the substitutions with Qt's font matching; call once after the
// application object exists (repeating it does no harm).
void InstallFontSubstitutions();

// A font as a definition's font record describes it: face, size in points, weight
// on the 100-900 scale (0 means normal), italic, underline and strike-out.
struct FontRecord {
  QString face;
  int points = 8;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

QFont MakeFont(const FontRecord& record);

}  // namespace rk::platform
