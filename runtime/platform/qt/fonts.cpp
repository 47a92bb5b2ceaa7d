#include "runtime/platform/qt/fonts.h"

#include <QStringList>
#include <algorithm>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {

void InstallFontSubstitutions() {
  const QStringList sans = {"Liberation Sans", "DejaVu Sans"};
  QFont::insertSubstitutions("MS Sans Serif", sans);
  QFont::insertSubstitutions("Helv", sans);
  QFont::insertSubstitutions("Arial", {"Liberation Sans"});
  QFont::insertSubstitutions("FixedSys", {"DejaVu Sans Mono"});
}

QFont MakeFont(const FontRecord& record) {
  QFont font(FromAnsi(record.face));
  font.setPointSize(std::max(record.points, 1));
  // Qt's weight scale is the same 100-900 scale the definitions use.
  int weight = record.weight == 0 ? 400 : std::clamp(record.weight, 100, 900);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(record.italic);
  font.setUnderline(record.underline);
  font.setStrikeOut(record.strikeOut);
  return font;
}

}  // namespace rk::platform
