// Writes Windows-metafile records: the few a report page needs (window origin and
// extent, fonts, pens and brushes, text, lines, rectangles and bitmaps). Objects
// take the lowest free slot of the metafile's object table, as a player assigns
// them, so a writer that deletes every object it creates leaves the table empty
// and its records can be copied into another metafile unchanged.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rk::platform {

struct LogicalFont {
  std::string face;    // ANSI, at most 31 characters are kept
  int16_t height = 0;  // negative: the character height in logical units
  int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// A device-independent bitmap: 24 bits per pixel, rows bottom-up, each row
// padded to a multiple of 4 bytes.
struct DibImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;
  static size_t RowBytes(int32_t width) {
    return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  }
};

// COLORREF: 0x00BBGGRR.
using ColorRef = uint32_t;

class MetafileWriter {
 public:
  void SetWindowOrg(int16_t x, int16_t y);
  void SetWindowExt(int16_t width, int16_t height);
  void SetBkMode(uint16_t mode);
  void SetTextAlign(uint16_t align);
  void SetTextColor(ColorRef color);
  uint16_t CreateFont(const LogicalFont& font);
  uint16_t CreatePen(uint16_t style, int16_t width, ColorRef color);
  uint16_t CreateBrush(uint16_t style, ColorRef color);
  void SelectObject(uint16_t index);
  void DeleteObject(uint16_t index);
  void TextOut(int16_t x, int16_t y, std::string_view ansi);
  void MoveTo(int16_t x, int16_t y);
  void LineTo(int16_t x, int16_t y);
  void Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom);
  void StretchDib(int16_t x, int16_t y, int16_t width, int16_t height, const DibImage& image);

  // Appends a whole record (size, function, parameters) as words, moved by
  // dx, dy when it draws at a position. Creating and deleting records keep the
  // object table in step.
  void AppendRecord(std::span<const uint16_t> record, int16_t dx = 0, int16_t dy = 0);

  // The records so far, without header or end record.
  const std::vector<uint16_t>& Records() const { return words_; }
  bool Empty() const { return words_.empty(); }
  // The metafile: header, records, end record.
  std::vector<uint8_t> Finish() const;

 private:
  void Record(uint16_t function, std::span<const uint16_t> parameters);
  uint16_t TakeSlot();
  void FreeSlot(uint16_t index);

  std::vector<uint16_t> words_;
  std::vector<bool> slots_;  // true: in use
  uint32_t largestRecord_ = 0;
};

// Moves a record's position parameters by dx, dy in place (records that draw at
// a position: text, move, line, rectangle, bitmap). Other records are left alone.
void OffsetRecord(std::span<uint16_t> record, int16_t dx, int16_t dy);

}  // namespace rk::platform
