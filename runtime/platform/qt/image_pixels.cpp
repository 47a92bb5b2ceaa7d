#include "runtime/platform/qt/image_pixels.h"

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {

std::optional<DibImage> LoadDibImage(const std::string& path, int32_t width, int32_t height,
                                     size_t maxBytes, std::string& error) {
  QImageReader reader(FromAnsi(path));
  QImage image = reader.read();
  if (image.isNull()) {
    error = "cannot read image " + path + ": " + ToAnsi(reader.errorString());
    return std::nullopt;
  }
  QSize size = image.size();
  if (width > 0 && height > 0) size = size.boundedTo(QSize(width, height));
  // Shrink until the bits fit the limit.
  while (size.width() > 1 && size.height() > 1 &&
         DibImage::RowBytes(size.width()) * static_cast<size_t>(size.height()) > maxBytes) {
    size = QSize(std::max(1, size.width() * 3 / 4), std::max(1, size.height() * 3 / 4));
  }
  QImage scaled = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_BGR888)
                      .mirrored();  // rows bottom-up
  DibImage dib;
  dib.width = scaled.width();
  dib.height = scaled.height();
  size_t row = DibImage::RowBytes(dib.width);
  dib.bits.assign(row * static_cast<size_t>(dib.height), 0);
  for (int y = 0; y < dib.height; ++y) {
    std::memcpy(dib.bits.data() + row * static_cast<size_t>(y), scaled.constScanLine(y),
                static_cast<size_t>(dib.width) * 3);
  }
  return dib;
}

}  // namespace rk::platform
