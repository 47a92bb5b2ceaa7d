// Page files from any bytes, the report engine's pages as the preview and the
// printer play them: the reader must answer or refuse every file with an
// error text, and a file it reads must play onto a small image, or stop with
// an error text, without harm. The play needs the display's fonts: a
// QGuiApplication on the offscreen platform is made on first use when the
// process has none.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <span>
#include <string>

#include "runtime/platform/qt/metafile_player.h"
#include "runtime/platform/qt/metafile_reader.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {
namespace {

constexpr int kImageSide = 64;

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "page_file_fuzzer";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

}  // namespace

int PageFileInput(const uint8_t* data, size_t size) {
  std::string error;
  std::optional<platform::PageImage> image = platform::ReadPageImage(std::span(data, size), error);
  if (!image) {
    if (error.empty()) Broken();
    return 0;
  }
  EnsureApplication();
  QImage target(kImageSide, kImageSide, QImage::Format_RGB32);
  target.fill(Qt::white);
  QPainter painter(&target);
  if (!platform::PlayPageImage(*image, painter, QRectF(0, 0, kImageSide, kImageSide), error) &&
      error.empty()) {
    Broken();
  }
  return 0;
}

}  // namespace rk::fuzz
