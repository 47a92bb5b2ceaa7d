#include "runtime/platform/qt/metafile_writer.h"

#include <algorithm>

#include "runtime/platform/qt/metafile_format.h"

namespace rk::platform {

namespace {

uint16_t U(int16_t value) {
  return static_cast<uint16_t>(value);
}

void PutColor(std::vector<uint16_t>& p, ColorRef color) {
  p.push_back(static_cast<uint16_t>(color & 0xFFFF));
  p.push_back(static_cast<uint16_t>(color >> 16));
}

// Bytes packed two to a word, low byte first, padded with a zero byte.
void PutBytes(std::vector<uint16_t>& p, std::span<const uint8_t> bytes) {
  for (size_t i = 0; i < bytes.size(); i += 2) {
    uint16_t low = bytes[i];
    uint16_t high = i + 1 < bytes.size() ? bytes[i + 1] : 0;
    p.push_back(static_cast<uint16_t>(low | (high << 8)));
  }
}

void PutDoubleWord(std::vector<uint16_t>& p, uint32_t value) {
  p.push_back(static_cast<uint16_t>(value & 0xFFFF));
  p.push_back(static_cast<uint16_t>(value >> 16));
}

std::span<const uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Moves the point whose y is parameter `at` and x parameter `at + 1`.
void MovePoint(std::span<uint16_t> record, size_t at, int16_t dx, int16_t dy) {
  size_t y = meta::kRecordHeaderWords + at;
  if (y + 1 >= record.size()) return;
  record[y] = static_cast<uint16_t>(static_cast<int16_t>(record[y]) + dy);
  record[y + 1] = static_cast<uint16_t>(static_cast<int16_t>(record[y + 1]) + dx);
}

}  // namespace

void OffsetRecord(std::span<uint16_t> record, int16_t dx, int16_t dy) {
  if (record.size() < meta::kRecordHeaderWords) return;
  switch (record[2]) {
    case meta::kMoveTo:
    case meta::kLineTo:
      MovePoint(record, 0, dx, dy);
      break;
    case meta::kRectangle:  // bottom, right, top, left
      MovePoint(record, 0, dx, dy);
      MovePoint(record, 2, dx, dy);
      break;
    case meta::kTextOut: {  // count, string words, y, x
      if (record.size() <= meta::kRecordHeaderWords) return;
      size_t count = record[meta::kRecordHeaderWords];
      MovePoint(record, 1 + (count + 1) / 2, dx, dy);
      break;
    }
    case meta::kStretchDib:  // rop (2), usage, src h, w, y, x, dest h, w, y, x
      MovePoint(record, 9, dx, dy);
      break;
    default:
      break;
  }
}

void MetafileWriter::Record(uint16_t function, std::span<const uint16_t> parameters) {
  uint32_t size = static_cast<uint32_t>(meta::kRecordHeaderWords + parameters.size());
  words_.push_back(static_cast<uint16_t>(size & 0xFFFF));
  words_.push_back(static_cast<uint16_t>(size >> 16));
  words_.push_back(function);
  words_.insert(words_.end(), parameters.begin(), parameters.end());
  largestRecord_ = std::max(largestRecord_, size);
}

uint16_t MetafileWriter::TakeSlot() {
  auto free = std::find(slots_.begin(), slots_.end(), false);
  if (free != slots_.end()) {
    *free = true;
    return static_cast<uint16_t>(free - slots_.begin());
  }
  slots_.push_back(true);
  return static_cast<uint16_t>(slots_.size() - 1);
}

void MetafileWriter::FreeSlot(uint16_t index) {
  if (index < slots_.size()) slots_[index] = false;
}

void MetafileWriter::SetWindowOrg(int16_t x, int16_t y) {
  uint16_t p[] = {U(y), U(x)};
  Record(meta::kSetWindowOrg, p);
}

void MetafileWriter::SetWindowExt(int16_t width, int16_t height) {
  uint16_t p[] = {U(height), U(width)};
  Record(meta::kSetWindowExt, p);
}

void MetafileWriter::SetBkMode(uint16_t mode) {
  uint16_t p[] = {mode};
  Record(meta::kSetBkMode, p);
}

void MetafileWriter::SetTextAlign(uint16_t align) {
  uint16_t p[] = {align};
  Record(meta::kSetTextAlign, p);
}

void MetafileWriter::SetTextColor(ColorRef color) {
  std::vector<uint16_t> p;
  PutColor(p, color);
  Record(meta::kSetTextColor, p);
}

uint16_t MetafileWriter::CreateFont(const LogicalFont& font) {
  std::vector<uint16_t> p = {U(font.height), 0, 0, 0, U(font.weight)};
  uint8_t flags[8] = {font.italic,
                      font.underline,
                      font.strikeOut,
                      0,  // ANSI character set
                      0,
                      0,
                      0,
                      0};
  PutBytes(p, flags);
  uint8_t face[meta::kFaceNameBytes] = {};
  std::copy_n(font.face.begin(), std::min<size_t>(font.face.size(), meta::kFaceNameBytes - 1),
              face);
  PutBytes(p, face);
  Record(meta::kCreateFontIndirect, p);
  return TakeSlot();
}

uint16_t MetafileWriter::CreatePen(uint16_t style, int16_t width, ColorRef color) {
  std::vector<uint16_t> p = {style, U(width), 0};
  PutColor(p, color);
  Record(meta::kCreatePenIndirect, p);
  return TakeSlot();
}

uint16_t MetafileWriter::CreateBrush(uint16_t style, ColorRef color) {
  std::vector<uint16_t> p = {style};
  PutColor(p, color);
  p.push_back(0);  // hatch
  Record(meta::kCreateBrushIndirect, p);
  return TakeSlot();
}

void MetafileWriter::SelectObject(uint16_t index) {
  uint16_t p[] = {index};
  Record(meta::kSelectObject, p);
}

void MetafileWriter::DeleteObject(uint16_t index) {
  uint16_t p[] = {index};
  Record(meta::kDeleteObject, p);
  FreeSlot(index);
}

void MetafileWriter::TextOut(int16_t x, int16_t y, std::string_view ansi) {
  std::vector<uint16_t> p = {static_cast<uint16_t>(std::min<size_t>(ansi.size(), 0xFFFF))};
  PutBytes(p, AsBytes(ansi.substr(0, p[0])));
  p.push_back(U(y));
  p.push_back(U(x));
  Record(meta::kTextOut, p);
}

void MetafileWriter::MoveTo(int16_t x, int16_t y) {
  uint16_t p[] = {U(y), U(x)};
  Record(meta::kMoveTo, p);
}

void MetafileWriter::LineTo(int16_t x, int16_t y) {
  uint16_t p[] = {U(y), U(x)};
  Record(meta::kLineTo, p);
}

void MetafileWriter::Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  uint16_t p[] = {U(bottom), U(right), U(top), U(left)};
  Record(meta::kRectangle, p);
}

void MetafileWriter::StretchDib(int16_t x, int16_t y, int16_t width, int16_t height,
                                const DibImage& image) {
  std::vector<uint16_t> p;
  PutDoubleWord(p, meta::kSourceCopy);
  p.push_back(0);  // colours are RGB values
  p.push_back(U(static_cast<int16_t>(image.height)));
  p.push_back(U(static_cast<int16_t>(image.width)));
  p.push_back(0);
  p.push_back(0);
  p.push_back(U(height));
  p.push_back(U(width));
  p.push_back(U(y));
  p.push_back(U(x));
  // BITMAPINFOHEADER
  PutDoubleWord(p, meta::kBitmapInfoBytes);
  PutDoubleWord(p, static_cast<uint32_t>(image.width));
  PutDoubleWord(p, static_cast<uint32_t>(image.height));
  p.push_back(1);       // planes
  p.push_back(24);      // bits per pixel
  PutDoubleWord(p, 0);  // no compression
  PutDoubleWord(p, static_cast<uint32_t>(image.bits.size()));
  PutDoubleWord(p, 0);
  PutDoubleWord(p, 0);
  PutDoubleWord(p, 0);
  PutDoubleWord(p, 0);
  PutBytes(p, image.bits);
  Record(meta::kStretchDib, p);
}

void MetafileWriter::AppendRecord(std::span<const uint16_t> record, int16_t dx, int16_t dy) {
  if (record.size() < meta::kRecordHeaderWords) return;
  size_t start = words_.size();
  words_.insert(words_.end(), record.begin(), record.end());
  std::span<uint16_t> copy(words_.data() + start, record.size());
  OffsetRecord(copy, dx, dy);
  largestRecord_ = std::max(largestRecord_, static_cast<uint32_t>(record.size()));
  switch (record[2]) {
    case meta::kCreateFontIndirect:
    case meta::kCreatePenIndirect:
    case meta::kCreateBrushIndirect:
      TakeSlot();
      break;
    case meta::kDeleteObject:
      if (record.size() > meta::kRecordHeaderWords) FreeSlot(record[meta::kRecordHeaderWords]);
      break;
    default:
      break;
  }
}

std::vector<uint8_t> MetafileWriter::Finish() const {
  std::vector<uint16_t> all;
  uint32_t total =
      static_cast<uint32_t>(meta::kHeaderBytes / 2 + words_.size() + meta::kRecordHeaderWords);
  all.push_back(1);  // in memory
  all.push_back(meta::kHeaderBytes / 2);
  all.push_back(0x0300);
  PutDoubleWord(all, total);
  all.push_back(static_cast<uint16_t>(slots_.size()));
  PutDoubleWord(all, std::max<uint32_t>(largestRecord_, meta::kRecordHeaderWords));
  all.push_back(0);
  all.insert(all.end(), words_.begin(), words_.end());
  all.insert(all.end(), {meta::kRecordHeaderWords, 0, meta::kEof});
  std::vector<uint8_t> bytes;
  bytes.reserve(all.size() * 2);
  for (uint16_t w : all) {
    bytes.push_back(static_cast<uint8_t>(w & 0xFF));
    bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  return bytes;
}

}  // namespace rk::platform
