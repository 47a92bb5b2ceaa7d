#include "runtime/platform/qt/metafile_player.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <variant>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/metafile_writer.h"

namespace rk::platform {

namespace {

QColor FromColorRef(uint16_t low, uint16_t high) {
  return QColor(low & 0xFF, low >> 8, high & 0xFF);
}

int16_t S(uint16_t word) {
  return static_cast<int16_t>(word);
}

using Object = std::variant<QFont, QPen, QBrush>;

class Player {
 public:
  Player(const PageImage& image, QPainter& painter, const QRectF& target)
      : painter_(painter), target_(target) {
    extent_ =
        QSizeF(image.header.right - image.header.left, image.header.bottom - image.header.top);
    origin_ = QPointF(image.header.left, image.header.top);
    font_.setPixelSize(100);
  }

  bool Play(const PageImage& image, std::string& error) {
    painter_.save();
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(QPen(Qt::black, 0));
    UpdateTransform();
    size_t number = 0;
    for (const MetafileRecord& record : image.records) {
      ++number;
      if (!Step(record)) {
        error = "page record " + std::to_string(number) + " (function 0x" + Hex(record.function) +
                ") " + problem_;
        painter_.restore();
        return false;
      }
    }
    painter_.restore();
    return true;
  }

 private:
  static std::string Hex(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
  }

  bool Need(const MetafileRecord& record, size_t count) {
    if (record.parameters.size() >= count) return true;
    problem_ = "is too short";
    return false;
  }

  void UpdateTransform() {
    QTransform t;
    if (extent_.width() == 0 || extent_.height() == 0) return;
    t.translate(target_.x(), target_.y());
    t.scale(target_.width() / extent_.width(), target_.height() / extent_.height());
    t.translate(-origin_.x(), -origin_.y());
    painter_.setTransform(t);
  }

  bool Step(const MetafileRecord& r) {
    const auto& p = r.parameters;
    switch (r.function) {
      case meta::kSetWindowOrg:
        if (!Need(r, 2)) return false;
        origin_ = QPointF(S(p[1]), S(p[0]));
        UpdateTransform();
        return true;
      case meta::kSetWindowExt:
        if (!Need(r, 2)) return false;
        extent_ = QSizeF(S(p[1]), S(p[0]));
        UpdateTransform();
        return true;
      case meta::kSetBkMode:
        return Need(r, 1);
      case meta::kSetTextAlign:
        if (!Need(r, 1)) return false;
        align_ = p[0];
        return true;
      case meta::kSetTextColor:
        if (!Need(r, 2)) return false;
        textColor_ = FromColorRef(p[0], p[1]);
        textPen_ = false;
        return true;
      case meta::kCreateFontIndirect:
        return CreateFont(r);
      case meta::kCreatePenIndirect:
        return CreatePen(r);
      case meta::kCreateBrushIndirect:
        return CreateBrush(r);
      case meta::kSelectObject:
        return Select(r);
      case meta::kDeleteObject:
        if (!Need(r, 1)) return false;
        objects_.erase(p[0]);
        return true;
      case meta::kMoveTo:
        if (!Need(r, 2)) return false;
        position_ = QPointF(S(p[1]), S(p[0]));
        return true;
      case meta::kLineTo: {
        if (!Need(r, 2)) return false;
        QPointF to(S(p[1]), S(p[0]));
        UseSelectedPen();
        painter_.drawLine(position_, to);
        position_ = to;
        return true;
      }
      case meta::kRectangle:
        if (!Need(r, 4)) return false;
        UseSelectedPen();
        painter_.drawRect(QRectF(QPointF(S(p[3]), S(p[2])), QPointF(S(p[1]), S(p[0]))));
        return true;
      case meta::kTextOut:
        return TextOut(r);
      case meta::kStretchDib:
        return StretchDib(r);
      default:
        return true;
    }
  }

  void UseSelectedPen() {
    if (!textPen_) return;
    painter_.setPen(pen_);
    textPen_ = false;
  }

  uint16_t Slot() const {
    uint16_t slot = 0;
    while (objects_.count(slot) != 0) ++slot;
    return slot;
  }

  static std::string Bytes(const std::vector<uint16_t>& p, size_t from, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
      uint16_t word = p[from + i / 2];
      out += static_cast<char>(i % 2 == 0 ? word & 0xFF : word >> 8);
    }
    return out;
  }

  bool CreateFont(const MetafileRecord& r) {
    if (!Need(r, 9)) return false;
    const auto& p = r.parameters;
    LogicalFont font;
    size_t faceWords = p.size() - 9;
    font.face = Bytes(p, 9, faceWords * 2);
    font.face.resize(std::min(font.face.find('\0'), font.face.size()));
    font.height = S(p[0]);
    font.weight = S(p[4]);
    font.italic = (p[5] & 0xFF) != 0;
    font.underline = (p[5] >> 8) != 0;
    font.strikeOut = (p[6] & 0xFF) != 0;
    objects_[Slot()] = PlayedFont(font);
    return true;
  }

  bool CreatePen(const MetafileRecord& r) {
    if (!Need(r, 5)) return false;
    const auto& p = r.parameters;
    QPen pen(FromColorRef(p[3], p[4]));
    pen.setWidthF(S(p[1]));
    if (p[0] == meta::kPenNull) pen.setStyle(Qt::NoPen);
    objects_[Slot()] = pen;
    return true;
  }

  bool CreateBrush(const MetafileRecord& r) {
    if (!Need(r, 3)) return false;
    const auto& p = r.parameters;
    QBrush brush(FromColorRef(p[1], p[2]));
    if (p[0] == meta::kBrushHollow) brush = QBrush(Qt::NoBrush);
    objects_[Slot()] = brush;
    return true;
  }

  bool Select(const MetafileRecord& r) {
    if (!Need(r, 1)) return false;
    auto it = objects_.find(r.parameters[0]);
    if (it == objects_.end()) {
      problem_ = "selects object " + std::to_string(r.parameters[0]) + ", which does not exist";
      return false;
    }
    if (auto* font = std::get_if<QFont>(&it->second); font != nullptr && *font != font_) {
      font_ = *font;
      metrics_.reset();
      fontSet_ = false;
    }
    if (auto* pen = std::get_if<QPen>(&it->second)) {
      pen_ = *pen;
      painter_.setPen(pen_);
      textPen_ = false;
    }
    if (auto* brush = std::get_if<QBrush>(&it->second)) painter_.setBrush(*brush);
    return true;
  }

  bool TextOut(const MetafileRecord& r) {
    if (!Need(r, 1)) return false;
    const auto& p = r.parameters;
    size_t count = p[0];
    size_t stringWords = (count + 1) / 2;
    if (!Need(r, 1 + stringWords + 2)) return false;
    QString text = FromAnsi(Bytes(p, 1, count));
    QPointF at(S(p[2 + stringWords]), S(p[1 + stringWords]));
    // Metrics are taken once per selected font; only aligned texts need a width.
    if (!metrics_) metrics_.emplace(font_);
    if ((align_ & meta::kAlignCenter) == meta::kAlignCenter) {
      at.rx() -= metrics_->horizontalAdvance(text) / 2;
    } else if ((align_ & meta::kAlignRight) != 0) {
      at.rx() -= metrics_->horizontalAdvance(text);
    }
    // State changes cost a PDF operator each: set font and pen only when they change.
    if (!fontSet_) {
      painter_.setFont(font_);
      fontSet_ = true;
    }
    if (!textPen_) {
      painter_.setPen(textColor_);
      textPen_ = true;
    }
    painter_.drawText(QPointF(at.x(), at.y() + metrics_->ascent()), text);
    return true;
  }

  bool StretchDib(const MetafileRecord& r) {
    constexpr size_t kInfo = 11;  // parameters before the bitmap header
    if (!Need(r, kInfo + meta::kBitmapInfoBytes / 2)) return false;
    const auto& p = r.parameters;
    int32_t width = static_cast<int32_t>(p[kInfo + 2] | (p[kInfo + 3] << 16));
    int32_t height = static_cast<int32_t>(p[kInfo + 4] | (p[kInfo + 5] << 16));
    uint16_t bits = p[kInfo + 7];
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF || bits != 24) {
      problem_ = "holds a bitmap this player does not draw";
      return false;
    }
    size_t rowBytes = DibImage::RowBytes(width);
    size_t first = kInfo + meta::kBitmapInfoBytes / 2;
    if ((p.size() - first) * 2 < rowBytes * static_cast<size_t>(height)) {
      problem_ = "holds a truncated bitmap";
      return false;
    }
    std::string pixels = Bytes(p, first, rowBytes * static_cast<size_t>(height));
    QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, height,
                 static_cast<qsizetype>(rowBytes), QImage::Format_BGR888);
    QRectF into(S(p[10]), S(p[9]), S(p[8]), S(p[7]));
    painter_.drawImage(into, image.mirrored());
    return true;
  }

  QPainter& painter_;
  QRectF target_;
  QSizeF extent_;
  QPointF origin_;
  QPointF position_;
  QFont font_;
  std::optional<QFontMetricsF> metrics_;
  bool fontSet_ = false;
  QPen pen_{Qt::black, 0};
  bool textPen_ = false;  // the painter's pen is the text colour, not pen_
  QColor textColor_ = Qt::black;
  uint16_t align_ = 0;
  std::map<uint16_t, Object> objects_;
  std::string problem_;
};

}  // namespace

QFont PlayedFont(const LogicalFont& font) {
  QFont played;
  if (!font.face.empty()) played.setFamily(FromAnsi(font.face));
  played.setPixelSize(std::max(1, std::abs(static_cast<int>(font.height))));
  played.setBold((font.weight == 0 ? 400 : font.weight) >= 600);
  played.setItalic(font.italic);
  played.setUnderline(font.underline);
  played.setStrikeOut(font.strikeOut);
  played.setHintingPreference(QFont::PreferNoHinting);
  return played;
}

bool PlayPageImage(const PageImage& image, QPainter& painter, const QRectF& target,
                   std::string& error) {
  return Player(image, painter, target).Play(image, error);
}

bool PlayPageFile(const std::string& path, QPainter& painter, const QRectF& target,
                  std::string& error) {
  auto bytes = ReadWholeFile(path, error);
  if (!bytes) return false;
  auto image = ReadPageImage(*bytes, error);
  if (!image) {
    error = path + ": " + error;
    return false;
  }
  return PlayPageImage(*image, painter, target, error);
}

}  // namespace rk::platform
