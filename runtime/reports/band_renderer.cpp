#include "runtime/reports/band_renderer.h"

#include <algorithm>
#include <optional>

#include "runtime/core/clipped_text.h"
#include "runtime/platform/qt/image_pixels.h"
#include "runtime/platform/qt/metafile_format.h"
#include "runtime/platform/qt/text_measure.h"
#include "runtime/reports/line_breaker.h"
#include "runtime/reports/variable_text.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/definition_flags.h"

namespace rk {

namespace {

using platform::MetafileWriter;
namespace meta = platform::meta;

// The colour a definition stores for the system's window-text colour.
constexpr int32_t kSystemTextColor = static_cast<int32_t>(0x80000008);
// Bitmap records must stay below the largest record a band may hold
// (0x8000 words), with room for the record's other parameters.
constexpr size_t kLargestImageBytes = 0x8000 * 2 - 256;

int16_t Clamp16(int64_t value) {
  return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

class BandPainter {
 public:
  BandPainter(const BandContext& context, RenderedBand& out) : context_(context), out_(out) {}

  void Control(const ControlRecord& control) {
    Position at = ToPixels(control.at, context_.scale);
    switch (control.kind) {
      case RecordKind::kString: {
        std::string text = PlainText(TextOf(control, control.text));
        if ((control.flags & control_flag::kPageNumber) != 0) {
          text += std::to_string(context_.pageNumber);
        }
        Text(control, at, text);
        break;
      }
      case RecordKind::kUseString:
        Text(control, at,
             control.use ? std::string(ClipRight(FormattedVariable(*control.use, control.picture)))
                         : std::string());
        break;
      case RecordKind::kLine:
        Line(at);
        break;
      case RecordKind::kBox:
        Box(at);
        break;
      case RecordKind::kImage:
        Image(at, TextOf(control, {}));
        break;
      default:
        break;  // regions and window controls draw nothing on paper
    }
  }

  // Ends the band: the objects it made are deleted and the alignment is back to
  // the default, so the next band starts from a known state.
  void Finish() {
    MetafileWriter& w = out_.records;
    if (align_ != 0 && align_ != kUnknown) w.SetTextAlign(0);
    for (const auto& [key, handle] : fonts_) w.DeleteObject(handle);
    fonts_.clear();
  }

  // The foot of the lowest wrapped text, from the band's top (0 when none).
  int32_t WrappedFoot() const { return wrappedFoot_; }

 private:
  std::string TextOf(const ControlRecord& control, const std::string& stored) const {
    if (context_.texts == nullptr) return stored;
    auto it = context_.texts->find(control.number);
    return it == context_.texts->end() ? stored : it->second;
  }

  platform::LogicalFont LogicalOf(const ReportFont& font) const {
    platform::LogicalFont logical;
    logical.face = font.face;
    logical.height = Clamp16(-(static_cast<int64_t>(font.size) * context_.dpiY / 72));
    int32_t weight = font.style & 0x7FF;
    logical.weight = static_cast<int16_t>(weight == 0 ? 400 : weight);
    logical.italic = (font.style & 0x1000) != 0;
    logical.underline = (font.style & 0x2000) != 0;
    logical.strikeOut = (font.style & 0x4000) != 0;
    return logical;
  }

  uint16_t MakeFont(const ReportFont& font) { return out_.records.CreateFont(LogicalOf(font)); }

  // Each line of the text on a line of its own: a wrapped text broken at the
  // control's width, every line of it; any other text as many lines as fit the
  // control's height (all of them when it gives none).
  void Text(const ControlRecord& control, const Position& at, const std::string& whole) {
    // A field that was never filled holds zero bytes: the text ends at the first.
    std::string text = whole.substr(0, whole.find('\0'));
    if (text.empty()) return;
    ReportFont font = InheritFont(control.font, context_.font);
    MetafileWriter& w = out_.records;
    UseFont(font);
    if (!textModeSet_) {
      w.SetBkMode(meta::kTransparent);
      textModeSet_ = true;
    }
    if (font.color != textColor_) {
      w.SetTextColor(static_cast<platform::ColorRef>(font.color));
      textColor_ = font.color;
    }
    int16_t x = Clamp16(at[0]);
    uint16_t align = 0;
    if ((control.flags & control_flag::kCenter) != 0) {
      align = meta::kAlignCenter;
      x = Clamp16(int64_t{at[0]} + at[2] / 2);
    } else if ((control.flags & control_flag::kRight) != 0) {
      align = meta::kAlignRight;
      x = Clamp16(int64_t{at[0]} + at[2]);
    }
    if (align != align_) {
      w.SetTextAlign(align);
      align_ = align;
    }
    int32_t lineHeight = std::max<int32_t>(1, font.size * context_.dpiY * 115 / 7200);
    // A wrapped text prints every line and makes the band as tall as it needs;
    // any other text prints the lines that fit the control's height.
    bool wrap = (control.flags & control_flag::kWrap) != 0 && at[2] > 0;
    std::optional<platform::TextMeasurer> measurer;
    if (wrap) measurer.emplace(LogicalOf(font));
    std::vector<std::string> lines =
        BreakLines(text, wrap ? at[2] : 0,
                   [&measurer](std::string_view part) { return measurer->Width(part); });
    int32_t y = at[1];
    for (const std::string& line : lines) {
      bool fits = wrap || at[3] <= 0 || y == at[1] || y + lineHeight <= at[1] + at[3];
      if (!fits) break;
      if (!line.empty()) w.TextOut(x, Clamp16(y), line);
      y += lineHeight;
    }
    if (wrap) wrappedFoot_ = std::max(wrappedFoot_, y);
  }

  int16_t PenWidth() const { return static_cast<int16_t>(std::max(1, context_.dpiY / 100)); }

  void Line(const Position& at) {
    MetafileWriter& w = out_.records;
    uint16_t pen = w.CreatePen(meta::kPenSolid, PenWidth(), 0);
    w.SelectObject(pen);
    w.MoveTo(Clamp16(at[0]), Clamp16(at[1]));
    w.LineTo(Clamp16(int64_t{at[0]} + at[2]), Clamp16(int64_t{at[1]} + at[3]));
    w.DeleteObject(pen);
  }

  void Box(const Position& at) {
    MetafileWriter& w = out_.records;
    uint16_t pen = w.CreatePen(meta::kPenSolid, PenWidth(), 0);
    uint16_t brush = w.CreateBrush(meta::kBrushHollow, 0);
    w.SelectObject(pen);
    w.SelectObject(brush);
    w.Rectangle(Clamp16(at[0]), Clamp16(at[1]), Clamp16(int64_t{at[0]} + at[2]),
                Clamp16(int64_t{at[1]} + at[3]));
    w.DeleteObject(brush);
    w.DeleteObject(pen);
  }

  void Image(const Position& at, const std::string& file) {
    if (file.empty() || at[2] <= 0 || at[3] <= 0) return;
    std::string error;
    auto dib = platform::LoadDibImage(file, at[2], at[3], kLargestImageBytes, error);
    if (!dib) {
      out_.imageError = error;
      return;
    }
    out_.records.StretchDib(Clamp16(at[0]), Clamp16(at[1]), Clamp16(at[2]), Clamp16(at[3]), *dib);
  }

  // One font object per distinct font in the band, selected when it changes.
  void UseFont(const ReportFont& font) {
    std::string key =
        font.face + '/' + std::to_string(font.size) + '/' + std::to_string(font.style);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) it = fonts_.emplace(key, MakeFont(font)).first;
    if (it->second != selectedFont_) {
      out_.records.SelectObject(it->second);
      selectedFont_ = it->second;
    }
  }

  static constexpr int32_t kUnknown = -1;

  const BandContext& context_;
  RenderedBand& out_;
  std::map<std::string, uint16_t> fonts_;
  int32_t selectedFont_ = kUnknown;
  bool textModeSet_ = false;
  int32_t textColor_ = kUnknown;
  int32_t align_ = kUnknown;
  int32_t wrappedFoot_ = 0;
};

}  // namespace

ReportFont InheritFont(const std::optional<FontRecord>& record, const ReportFont& parent) {
  ReportFont font = parent;
  if (!record) return font;
  if (!record->face.empty()) font.face = record->face;
  if (record->size > 0) font.size = record->size;
  if (record->color != -1) font.color = record->color == kSystemTextColor ? 0 : record->color;
  if (record->style != -1) font.style = record->style;
  return font;
}

int32_t BandHeight(const BandRecord& band, const UnitScale& scale) {
  if (band.at[3] != kNotGiven) return std::max(0, ToPixels(band.at[3], scale.y));
  int32_t foot = 0;
  for (const ControlRecord& control : band.controls) {
    Position at = ToPixels(control.at, scale);
    foot = std::max(foot, at[1] + std::max(0, at[3]));
  }
  return foot;
}

RenderedBand RenderBand(const BandRecord& band, const BandContext& context) {
  RenderedBand out;
  out.height = BandHeight(band, context.scale);
  out.x = ToPixels(band.at[0], context.scale.x);
  BandPainter painter(context, out);
  for (const ControlRecord& control : band.controls) painter.Control(control);
  painter.Finish();
  out.height = std::max(out.height, painter.WrappedFoot());
  return out;
}

}  // namespace rk
