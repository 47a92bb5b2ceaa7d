#include "runtime/windows/icon_lookup.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>

#include "resources/resource_table.h"
#include "runtime/platform/qt/ansi_text.h"

namespace rk {
namespace {

// Every image of an icon resource; a damaged one gives a null icon.
QIcon IconFromBytes(std::span<const uint8_t> bytes) {
  QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                            static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ico");
  QIcon icon;
  for (int image = 0; image < reader.imageCount(); ++image) {
    if (!reader.jumpToImage(image)) break;
    QImage read = reader.read();
    if (!read.isNull()) icon.addPixmap(QPixmap::fromImage(read));
  }
  return icon;
}

}  // namespace

QIcon IconNamed(std::string_view name) {
  QString wanted = platform::FromAnsi(name).trimmed();
  if (wanted.isEmpty()) return {};
  if (auto bytes = FindResource(platform::ToAnsi(wanted), "ICON")) return IconFromBytes(*bytes);
  QIcon file(wanted);
  return file.availableSizes().isEmpty() ? QIcon() : file;
}

}  // namespace rk
