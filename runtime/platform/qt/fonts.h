// The typefaces the runtime's definitions name, mapped onto the faces this
// platform has: "MS Sans Serif" and "Helv" onto a sans face, "Arial" onto the
// metric-compatible Liberation Sans, "FixedSys" onto DejaVu Sans Mono.
#pragma once

#include <QFont>

#include "runtime/platform/qt/font_record.h"

namespace rk::platform {

// Registers the substitutions with Qt's font matching; call once after the
// application object exists (repeating it does no harm).
void InstallFontSubstitutions();

QFont MakeFont(const FontRecord& record);

}  // namespace rk::platform
