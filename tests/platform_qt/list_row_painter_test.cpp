// A list row's icons on screens of different density: made at the screen's
// device pixel ratio, so a high-density screen shows every pixel of the icon.
#include "runtime/platform/qt/list_row_painter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include "tests/support/qt_application.h"

namespace rk::platform {
namespace {

constexpr int kRowHeight = 18;  // icons are 16 pixels square in such a row

// A 32 x 32 checkerboard of single black and white pixels: any scaling below
// its size blurs it to grey.
QImage Checkerboard() {
  QImage image(32, 32, QImage::Format_ARGB32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) image.setPixel(x, y, (x + y) % 2 ? 0xFF000000 : 0xFFFFFFFF);
  }
  return image;
}

class ListRowPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApplication();
    ListColumnLook column;
    column.width = 120;
    column.icon = true;
    columns_ = {column};
    icons_ = {Checkerboard()};
  }

  // Paints a row whose cell shows icon 1 at `ratio` and returns the device pixels.
  QImage PaintedRow(qreal ratio) {
    QImage image(static_cast<int>(120 * ratio), static_cast<int>(kRowHeight * ratio),
                 QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    ListCellLook cell;
    cell.icon = 1;
    ListRowPainter(palette_, columns_, icons_, kRowHeight, ratio)
        .Paint(painter, {cell}, QRect(0, 0, 120, kRowHeight), false);
    return image;
  }

  QPalette palette_ = QApplication::palette();
  std::vector<ListColumnLook> columns_;
  std::vector<QImage> icons_;
};

TEST_F(ListRowPainterTest, IconsAreMadeInDevicePixels) {
  for (qreal ratio : {1.0, 1.5, 2.0}) {
    ListRowPainter painter(palette_, columns_, icons_, kRowHeight, ratio);
    ASSERT_EQ(painter.IconSide(), 16);
    for (int32_t icon : {1, 3}) {  // a given icon and a default shape
      QImage image = painter.IconImage(icon);
      EXPECT_EQ(image.devicePixelRatio(), ratio) << icon;
      EXPECT_EQ(image.width(), qRound(16 * ratio)) << icon << " at " << ratio;
      EXPECT_EQ(image.deviceIndependentSize(), QSizeF(16, 16)) << icon << " at " << ratio;
    }
  }
}

// At twice the density the 32-pixel icon is shown pixel for pixel: the
// checkerboard survives. At single density it is shrunk, and only its place
// is compared: the icon takes the same room at either density.
TEST_F(ListRowPainterTest, AHighDensityRowShowsTheIconsOwnPixels) {
  QImage twice = PaintedRow(2.0);
  int sharp = 0;
  for (int x = 0; x + 1 < twice.width(); ++x) {
    QRgb here = twice.pixel(x, kRowHeight);
    QRgb next = twice.pixel(x + 1, kRowHeight);
    if ((qGray(here) < 64 && qGray(next) > 192) || (qGray(here) > 192 && qGray(next) < 64)) {
      ++sharp;
    }
  }
  EXPECT_GE(sharp, 30) << "black and white pixels alternate across the icon's 32 columns";

  QImage once = PaintedRow(1.0);
  auto firstGrey = [](const QImage& image, int y, qreal ratio) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 250) return x / ratio;
    }
    return -1.0;
  };
  // The checkerboard may begin with a white pixel: half a pixel either way.
  EXPECT_NEAR(firstGrey(twice, kRowHeight, 2.0), firstGrey(once, kRowHeight / 2, 1.0), 0.5);
}

}  // namespace
}  // namespace rk::platform
