#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "runtime/platform/qt/metafile_format.h"
#include "runtime/platform/qt/metafile_player.h"
#include "runtime/platform/qt/metafile_reader.h"
#include "runtime/platform/qt/metafile_writer.h"
#include "tests/support/qt_application.h"

namespace rk::platform {
namespace {

std::vector<uint8_t> PageBytes(const MetafileWriter& writer, int16_t width = 850,
                               int16_t height = 1100, uint16_t inch = 100) {
  std::vector<uint8_t> bytes = PlaceableHeaderBytes(width, height, inch);
  std::vector<uint8_t> body = writer.Finish();
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

MetafileWriter SamplePage() {
  MetafileWriter w;
  w.SetWindowOrg(0, 0);
  w.SetWindowExt(850, 1100);
  uint16_t font = w.CreateFont({"Arial", -40, 700, false, false, false});
  w.SelectObject(font);
  w.TextOut(100, 100, "HELLO PAGE");
  w.DeleteObject(font);
  uint16_t pen = w.CreatePen(meta::kPenSolid, 4, 0);
  w.SelectObject(pen);
  w.MoveTo(100, 500);
  w.LineTo(700, 500);
  w.Rectangle(100, 600, 700, 900);
  w.DeleteObject(pen);
  return w;
}

TEST(PlaceableHeaderTest, ChecksumIsTheXorOfTheHeaderWordsAndFollowsTheResolution) {
  auto at600 = PlaceableHeaderBytes(5100, 6600, 600);
  auto at300 = PlaceableHeaderBytes(2550, 3300, 300);
  ASSERT_EQ(at600.size(), kPlaceableHeaderBytes);
  EXPECT_EQ(DoubleWord(at600, 0), kPlaceableKey);
  EXPECT_EQ(Word(at600, 20), 0x5711 ^ 5100 ^ 6600 ^ 600);
  EXPECT_EQ(Word(at300, 20), 0x5711 ^ 2550 ^ 3300 ^ 300);
  EXPECT_NE(Word(at600, 20), Word(at300, 20));
}

TEST(MetafileWriterTest, RecordsReadBackWithTheirParametersAndObjectSlotsAreReused) {
  MetafileWriter w = SamplePage();
  auto bytes = PageBytes(w);
  std::string error;
  auto image = ReadPageImage(bytes, error);
  ASSERT_TRUE(image) << error;
  EXPECT_EQ(image->header.right, 850);
  EXPECT_EQ(image->header.inch, 100);
  std::vector<uint16_t> functions;
  for (const auto& r : image->records) functions.push_back(r.function);
  EXPECT_EQ(functions, (std::vector<uint16_t>{
                           meta::kSetWindowOrg, meta::kSetWindowExt, meta::kCreateFontIndirect,
                           meta::kSelectObject, meta::kTextOut, meta::kDeleteObject,
                           meta::kCreatePenIndirect, meta::kSelectObject, meta::kMoveTo,
                           meta::kLineTo, meta::kRectangle, meta::kDeleteObject}));
  // The pen takes the font's freed slot 0.
  EXPECT_EQ(image->records[7].parameters[0], 0);
  // The metafile header counts one object slot and the file's size in words.
  EXPECT_EQ(Word(bytes, kPlaceableHeaderBytes + 10), 1);
  EXPECT_EQ(DoubleWord(bytes, kPlaceableHeaderBytes + 6) * 2, bytes.size() - kPlaceableHeaderBytes);
}

TEST(MetafileWriterTest, AppendedRecordsAreMovedByTheOffset) {
  MetafileWriter band;
  band.TextOut(10, 20, "abc");
  band.Rectangle(1, 2, 3, 4);
  MetafileWriter page;
  const auto& words = band.Records();
  size_t first = words[0];
  page.AppendRecord(std::span(words).first(first), 100, 1000);
  page.AppendRecord(std::span(words).subspan(first), 100, 1000);
  std::string error;
  auto image = ReadPageImage(PageBytes(page), error);
  ASSERT_TRUE(image) << error;
  const auto& text = image->records[0].parameters;  // count, "ab", "c", y, x
  EXPECT_EQ(text[3], 1020);
  EXPECT_EQ(text[4], 110);
  EXPECT_EQ(image->records[1].parameters, (std::vector<uint16_t>{1004, 103, 1002, 101}));
}

TEST(MetafilePlayerTest, PlayingAPageDrawsItsTextAndLinesScaledToTheTarget) {
  testing::EnsureQtApplication();
  QImage canvas(425, 550, QImage::Format_RGB32);  // half size
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  std::string error;
  auto image = ReadPageImage(PageBytes(SamplePage()), error);
  ASSERT_TRUE(image) << error;
  ASSERT_TRUE(PlayPageImage(*image, painter, QRectF(0, 0, 425, 550), error)) << error;
  painter.end();
  auto darkIn = [&](QRect area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) dark += qGray(canvas.pixel(x, y)) < 128;
    }
    return dark;
  };
  EXPECT_GT(darkIn(QRect(50, 50, 150, 20)), 20);    // the text, at half its place
  EXPECT_GT(darkIn(QRect(100, 248, 200, 4)), 100);  // the line at y 250
  EXPECT_EQ(darkIn(QRect(360, 50, 60, 20)), 0);     // nothing right of the text
}

TEST(MetafileReaderTest, EveryTruncationAndDamageGivesAnErrorNotACrash) {
  auto good = PageBytes(SamplePage());
  std::string error;
  for (size_t length = 0; length < good.size(); ++length) {
    std::span<const uint8_t> cut(good.data(), length);
    EXPECT_FALSE(ReadPageImage(cut, error)) << "length " << length;
    EXPECT_FALSE(error.empty());
  }
  auto badChecksum = good;
  badChecksum[20] ^= 1;
  EXPECT_FALSE(ReadPageImage(badChecksum, error));
  EXPECT_NE(error.find("checksum"), std::string::npos) << error;

  auto badSize = good;
  badSize[kPlaceableHeaderBytes + meta::kHeaderBytes] = 0xFF;  // first record's size
  badSize[kPlaceableHeaderBytes + meta::kHeaderBytes + 1] = 0xFF;
  EXPECT_FALSE(ReadPageImage(badSize, error));
  EXPECT_NE(error.find("bad size"), std::string::npos) << error;
}

TEST(MetafilePlayerTest, RecordsThatAreTooShortOrNameMissingObjectsStopThePlay) {
  testing::EnsureQtApplication();
  QImage canvas(100, 100, QImage::Format_RGB32);
  QPainter painter(&canvas);
  std::string error;

  PageImage shortText;
  shortText.header = {0, 0, 100, 100, 100, 0};
  shortText.records.push_back({meta::kTextOut, {200, 0x4141}});  // 200 characters promised
  EXPECT_FALSE(PlayPageImage(shortText, painter, QRectF(0, 0, 100, 100), error));
  EXPECT_NE(error.find("too short"), std::string::npos) << error;

  PageImage missing = shortText;
  missing.records = {{meta::kSelectObject, {3}}};
  EXPECT_FALSE(PlayPageImage(missing, painter, QRectF(0, 0, 100, 100), error));
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;

  PageImage badBitmap = shortText;
  badBitmap.records = {{meta::kStretchDib, std::vector<uint16_t>(31, 0)}};
  EXPECT_FALSE(PlayPageImage(badBitmap, painter, QRectF(0, 0, 100, 100), error));
  EXPECT_NE(error.find("bitmap"), std::string::npos) << error;

  EXPECT_FALSE(PlayPageFile("/nonexistent/QVN000.TMP", painter, QRectF(0, 0, 100, 100), error));
  EXPECT_NE(error.find("/nonexistent/QVN000.TMP"), std::string::npos) << error;
}

TEST(MetafileWriterTest, ABitmapRoundTripsThroughThePlayer) {
  testing::EnsureQtApplication();
  DibImage red;
  red.width = 2;
  red.height = 2;
  red.bits.assign(DibImage::RowBytes(2) * 2, 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) red.bits[DibImage::RowBytes(2) * y + x * 3 + 2] = 0xFF;  // B G R
  }
  MetafileWriter w;
  w.StretchDib(10, 10, 50, 50, red);
  std::string error;
  auto image = ReadPageImage(PageBytes(w, 100, 100, 100), error);
  ASSERT_TRUE(image) << error;
  QImage canvas(100, 100, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  ASSERT_TRUE(PlayPageImage(*image, painter, QRectF(0, 0, 100, 100), error)) << error;
  painter.end();
  EXPECT_EQ(canvas.pixelColor(30, 30), QColor(255, 0, 0));
  EXPECT_EQ(canvas.pixelColor(80, 80), QColor(Qt::white));
}

}  // namespace
}  // namespace rk::platform
