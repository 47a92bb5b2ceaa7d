// Byte layout of a stored window or report definition: kind codes, record sizes and
// field offsets, shared by the writer and the reader so that both read one table.
//
// Resource bytes: the tag, NUL-terminated ("REELBASE.qvw$reelb001"), then the blob.
// The blob is loaded at buffer offset 2 behind two zero bytes; every stored offset
// is an offset into that buffer (offset X is blob byte X - 2) and 0 means absent.
// Integers are 32-bit little-endian, signed; type codes are single bytes; nothing is
// aligned.
//
//   buffer +0   2  zero (not stored)
//   buffer +2   4  offset of the first top-level record (WINDOW or REPORT)
//   buffer +6   .. strings, data descriptors, font records and records
//
// Every record starts with: +0 kind code (1 byte), +1 offset of the next sibling.
//
// WINDOW (25, 105 bytes): +5 flags (bits 0x300 units), +9 reserved, +0x0D x, y,
// width, height, +0x1D first control, +0x21 label, +0x25 font, +0x29 title,
// +0x35 string attribute, +0x39 inherited attribute, +0x41 help id, +0x49 extra
// records, +0x4D attributes, +0x51 palette size, +0x55 timer, +0x59 menu bar,
// +0x5D toolbar, +0x61 string attribute, +0x65 value list (8-byte nodes
// {value, next}).
// REPORT (26, 53 bytes): +5 flags, +0x0D x, y, width, height of the detail area,
// +0x1D first band, +0x21 label, +0x25 font, +0x29 document name, +0x2D paper
// record, +0x31 preview queue descriptor.
// PAPER (46, 11 bytes): +5 paper size (16 bits), +7 width, +9 length (16 bits).
// Bands HEADER 27, FOOTER 28, DETAIL 31 (65 bytes), FORM 30 (45 bytes): +5 flags,
// +0x15 first control, +0x1D x, y, width, height.
// BREAK (29, 21 bytes): +5 flags, +0x0D first child band, +0x11 break variable descriptor.
// MENUBAR (22, 17 bytes): +5 flags, +0x0D first MENU or ITEM.
// MENU (19, 57 bytes): +0x0D number, +0x19 text, +0x1D status, +0x35 first item.
// ITEM (20, 53 bytes): +5 flags (0x10 separator), +0x0D number, +0x19 text,
// +0x1D status, +0x31 standard action.
// Controls: +5 flags, +9 reserved, +0x0D number, +0x11 attribute, then either the
// position at +0x15 (layout A) or a descriptor offset at +0x15 and the position at
// +0x19 (layout B); the other fields by kind are in kControlLayouts below.
// Data descriptor (9 bytes): +0 type code, +1 size, +5 decimal places or the
// offset of a constant text (a drop list's choices).
// Font record (16 bytes): +0 face name offset, +4 size in points, +8 colour,
// +0x0C style.
#pragma once

#include <cstdint>
#include <string_view>

namespace rk {

inline constexpr int32_t kNotGiven = INT32_MIN;  // stored 0x80000000: default place or size
inline constexpr int32_t kBufferLead = 2;        // zero bytes before the blob in the buffer
inline constexpr int32_t kRecordHeaderSize = 5;
inline constexpr int32_t kNextOffset = 1;
inline constexpr int32_t kDescriptorSize = 9;
inline constexpr int32_t kFontRecordSize = 16;
inline constexpr int32_t kValueNodeSize = 8;
inline constexpr std::string_view kDefinitionResourceType = "DABDUMP";

enum class RecordKind : uint8_t {
  kUseString = 1,
  kString = 2,
  kImage = 3,
  kRegion = 4,
  kLine = 5,
  kBox = 6,
  kEntry = 8,
  kButton = 9,
  kPrompt = 10,
  kOption = 11,
  kCheck = 12,
  kGroup = 13,
  kList = 14,
  kSpin = 16,
  kText = 17,
  kMenu = 19,
  kItem = 20,
  kRadio = 21,
  kMenuBar = 22,
  kWindow = 25,
  kReport = 26,
  kHeader = 27,
  kFooter = 28,
  kBreak = 29,
  kForm = 30,
  kDetail = 31,
  kProgress = 35,
  kSheet = 37,
  kTab = 38,
  kPaper = 46,
};

// Units of a window's or report's positions: bits 0x300 of its flags word.
enum class Units : int32_t {
  kDialog = 0x000,    // x by twice the font's average width over 8, y by its height over 8
  kInch25 = 0x100,    // 1/25 inch
  kInch1000 = 0x200,  // thousandths of an inch (every report)
  kPoints = 0x300,    // 1/72 inch
};
inline constexpr int32_t kUnitsMask = 0x300;
inline constexpr Units UnitsOf(int32_t flags) {
  return Units(flags & kUnitsMask);
}

namespace window_field {
inline constexpr int32_t kFlags = 0x05, kPosition = 0x0D, kFirstControl = 0x1D, kLabel = 0x21,
                         kFont = 0x25, kTitle = 0x29, kHelp = 0x41, kAttributes = 0x4D,
                         kPalette = 0x51, kTimer = 0x55, kMenuBar = 0x59, kValueList = 0x65,
                         kSize = 105;
}
namespace report_field {
inline constexpr int32_t kFlags = 0x05, kPosition = 0x0D, kFirstBand = 0x1D, kLabel = 0x21,
                         kFont = 0x25, kText = 0x29, kPaper = 0x2D, kPreview = 0x31, kSize = 53;
}
namespace paper_field {
inline constexpr int32_t kPaperSize = 0x05, kWidth = 0x07, kLength = 0x09, kSize = 11;
inline constexpr int16_t kCustomPaper = 256;
}  // namespace paper_field
namespace band_field {
inline constexpr int32_t kFlags = 0x05, kFirstControl = 0x15, kPosition = 0x1D, kSize = 65,
                         kFormSize = 45;
}
namespace break_field {
inline constexpr int32_t kFlags = 0x05, kFirstBand = 0x0D, kDescriptor = 0x11, kSize = 21;
}
namespace menu_field {
inline constexpr int32_t kFlags = 0x05, kNumber = 0x0D, kText = 0x19, kStatus = 0x1D,
                         kFirstItem = 0x35, kAction = 0x31, kMenuBarFirst = 0x0D, kMenuSize = 57,
                         kItemSize = 53, kMenuBarSize = 17;
inline constexpr int32_t kSeparatorFlag = 0x10;
}  // namespace menu_field
namespace control_field {
inline constexpr int32_t kFlags = 0x05, kNumber = 0x0D, kAttribute = 0x11, kPositionA = 0x15,
                         kDescriptor = 0x15, kPositionB = 0x19;
}

// Where a control kind keeps its fields; 0 = the kind has no such field.
struct ControlLayout {
  RecordKind kind;
  std::string_view name;
  int32_t size;
  int32_t position;  // x, y, width, height
  int32_t use;       // descriptor of the bound variable
  int32_t text;
  int32_t status;
  int32_t tooltip;
  int32_t picture;
  int32_t font;
  int32_t name2;      // an OPTION's second string, its name
  int32_t format;     // LIST FORMAT string
  int32_t dropCount;  // LIST, one byte
  int32_t from;       // LIST FROM descriptor
  int32_t children;   // OPTION radios, SHEET tabs, TAB controls
};

// clang-format off
inline constexpr ControlLayout kControlLayouts[] = {
  //  kind        name         size  pos   use   text  stat  tip   pict  font  name  fmt   drop  from  kids
  {RecordKind::kUseString, "USESTRING",  62, 0x19, 0x15,    0,    0,    0, 0x2D, 0x31,    0,    0,    0,    0,    0},
  {RecordKind::kString,    "STRING",     53, 0x15,    0, 0x29,    0,    0,    0, 0x2D,    0,    0,    0,    0,    0},
  {RecordKind::kImage,     "IMAGE",      45, 0x15,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0},
  {RecordKind::kRegion,    "REGION",     53, 0x15,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0},
  {RecordKind::kLine,      "LINE",       41, 0x15,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0},
  {RecordKind::kBox,       "BOX",        45, 0x15,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0},
  {RecordKind::kEntry,     "ENTRY",      78, 0x19, 0x15,    0, 0x29,    0, 0x45, 0x31,    0,    0,    0,    0,    0},
  {RecordKind::kButton,    "BUTTON",     82, 0x15,    0, 0x41, 0x25, 0x29,    0, 0x2D,    0,    0,    0,    0,    0},
  {RecordKind::kPrompt,    "PROMPT",     53, 0x15,    0, 0x29,    0,    0,    0, 0x2D,    0,    0,    0,    0,    0},
  {RecordKind::kOption,    "OPTION",     77, 0x19, 0x15, 0x29,    0,    0,    0, 0x31, 0x45,    0,    0,    0, 0x49},
  {RecordKind::kCheck,     "CHECK",      81, 0x19, 0x15, 0x45, 0x29,    0,    0, 0x31,    0,    0,    0,    0,    0},
  {RecordKind::kGroup,     "GROUP",      73, 0x15,    0, 0x41,    0,    0,    0, 0x2D,    0,    0,    0,    0,    0},
  {RecordKind::kList,      "LIST",       99, 0x1D, 0x15,    0, 0x2D,    0,    0, 0x35,    0, 0x19, 0x49, 0x4E,    0},
  {RecordKind::kSpin,      "SPIN",      106, 0x19, 0x15,    0, 0x29,    0, 0x45, 0x31,    0,    0,    0,    0,    0},
  {RecordKind::kText,      "TEXT",       78, 0x19, 0x15,    0, 0x29,    0,    0, 0x31,    0,    0,    0,    0,    0},
  {RecordKind::kRadio,     "RADIO",      77, 0x15,    0, 0x41,    0,    0,    0, 0x2D,    0,    0,    0,    0,    0},
  {RecordKind::kProgress,  "PROGRESS",   65, 0x19, 0x15,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0},
  {RecordKind::kSheet,     "SHEET",      77, 0x19, 0x15,    0,    0,    0,    0, 0x31,    0,    0,    0,    0, 0x49},
  {RecordKind::kTab,       "TAB",        54, 0x15,    0, 0x2A,    0,    0,    0,    0,    0,    0,    0,    0, 0x32},
};
// clang-format on

constexpr const ControlLayout* FindControlLayout(RecordKind kind) {
  for (const ControlLayout& layout : kControlLayouts) {
    if (layout.kind == kind) return &layout;
  }
  return nullptr;
}

constexpr const ControlLayout* FindControlLayout(std::string_view name) {
  for (const ControlLayout& layout : kControlLayouts) {
    if (layout.name == name) return &layout;
  }
  return nullptr;
}

constexpr bool IsBandKind(RecordKind kind) {
  return kind == RecordKind::kHeader || kind == RecordKind::kFooter || kind == RecordKind::kForm ||
         kind == RecordKind::kDetail;
}

// Whether a control of kind `child` may stand in the control chain of `container`:
// a window's or band's controls are any control but a TAB; an OPTION holds RADIOs,
// a SHEET holds TABs, a TAB holds any control but a TAB or RADIO.
constexpr bool MayHold(RecordKind container, RecordKind child) {
  if (FindControlLayout(child) == nullptr) return false;
  switch (container) {
    case RecordKind::kOption:
      return child == RecordKind::kRadio;
    case RecordKind::kSheet:
      return child == RecordKind::kTab;
    case RecordKind::kTab:
      return child != RecordKind::kTab && child != RecordKind::kRadio;
    default:
      return (container == RecordKind::kWindow || IsBandKind(container)) &&
             child != RecordKind::kTab;
  }
}

// Name of any record kind, for messages and dumps; "?" for a code that is not one.
constexpr std::string_view RecordKindName(RecordKind kind) {
  if (const ControlLayout* layout = FindControlLayout(kind)) return layout->name;
  switch (kind) {
    case RecordKind::kMenu:
      return "MENU";
    case RecordKind::kItem:
      return "ITEM";
    case RecordKind::kMenuBar:
      return "MENUBAR";
    case RecordKind::kWindow:
      return "WINDOW";
    case RecordKind::kReport:
      return "REPORT";
    case RecordKind::kHeader:
      return "HEADER";
    case RecordKind::kFooter:
      return "FOOTER";
    case RecordKind::kBreak:
      return "BREAK";
    case RecordKind::kForm:
      return "FORM";
    case RecordKind::kDetail:
      return "DETAIL";
    case RecordKind::kPaper:
      return "PAPER";
    default:
      return "?";
  }
}

}  // namespace rk
