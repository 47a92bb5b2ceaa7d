#include "runtime/windows/window_font.h"

namespace rk {
namespace {

constexpr int32_t kWeightMask = 0x7FF;
constexpr int32_t kItalic = 0x1000;
constexpr int32_t kUnderline = 0x2000;
constexpr int32_t kStrikeOut = 0x4000;
constexpr int kSystemPoints = 10;

}  // namespace

platform::FontRecord SystemFont() {
  return {"System", kSystemPoints, 400, false, false, false};
}

platform::FontRecord FontFrom(const std::optional<FontRecord>& record,
                              const platform::FontRecord& parent) {
  if (!record) return parent;
  platform::FontRecord font;
  font.face = record->face.empty() ? parent.face : record->face;
  font.points = record->size > 0 ? record->size : parent.points;
  if (record->style == -1) {
    font.weight = parent.weight;
    font.italic = parent.italic;
    font.underline = parent.underline;
    font.strikeOut = parent.strikeOut;
  } else {
    font.weight = record->style & kWeightMask;
    font.italic = (record->style & kItalic) != 0;
    font.underline = (record->style & kUnderline) != 0;
    font.strikeOut = (record->style & kStrikeOut) != 0;
  }
  return font;
}

}  // namespace rk
