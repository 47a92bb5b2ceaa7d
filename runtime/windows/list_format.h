// FORMAT strings of list boxes: the columns are written one after another,
// with no separator between them.
//
//   column  := width justification [ "(" indent ")" ] attribute*
//   width   := [ "-" ] digits
//   justification := "L" | "R" | "C" | "D"
//   attribute :=
//       "~" header "~" [ justification [ "(" indent ")" ] ]   header text
//     | "@" picture "@"              display picture (the first one counts)
//     | "#" digits "#"               queue field shown
//     | "*"                          four colour fields follow the text field
//     | "I" | "i"                    icon field
//     | "T" | "t" [ "(" { "L" | "B" | "I" } ")" ]   tree-level field
//     | "M" | "m"  resizable        "|" right border      "_" underline
//     | "F" | "f"                    "S" | "s" [ "(" width ")" ]
//     | "H" | "h" "(" digits ")"     "/"       "?"
//
// A column ends where the next digit or "-" begins the next one. Letters are
// accepted in either case; justification letters only in upper case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/windows/definition_units.h"

namespace rk {

enum ColumnJustification : uint8_t {
  kJustifyLeft = 0,
  kJustifyRight = 1,
  kJustifyCentre = 2,
  kJustifyDecimal = 3,
};

enum ColumnFlags : uint32_t {
  kColumnRightBorder = 0x10,
  kColumnUnderline = 0x20,
  kColumnFixed = 0x40,  // "F"
  kColumnScroll = 0x80,
  kColumnResizable = 0x100,
  kColumnQuery = 0x400,  // "?"
  kColumnIcon = 0x800,
  kColumnSlash = 0x4200,  // "/"
  kColumnTree = 0x8000,
};

enum ColumnFlags2 : uint8_t {
  kColumnColours = 0x01,
  kColumnHeightGiven = 0x02,
  kTreeLines = 0x04,  // tree option "L"
  kTreeBoxes = 0x08,  // tree option "B"
  kTreeIcons = 0x10,  // tree option "I"
};

struct ListColumn {
  // As written, in dialog units.
  int32_t widthUnits = 0;
  int32_t indentUnits = 0;
  int32_t headerIndentUnits = 0;
  int32_t scrollWidthUnits = 0;
  int32_t heightNumber = 0;  // the number after "H"

  // In pixels, after LayOutColumns.
  int32_t left = 0;
  int32_t right = 0;  // left + width, or left - 1 for a width of 0 or less
  int32_t width = 0;
  int32_t indent = 0;
  int32_t headerIndent = 0;

  // Data justification in bits 0-1, header justification in bits 2-3.
  uint8_t justification = 0;
  std::string header;
  std::string picture;  // without its leading marker; empty for none

  // Queue fields, numbered from 1; 0 where the column has none.
  int32_t field = 0;
  int32_t colourField = 0;  // the first of four
  int32_t iconField = 0;
  int32_t treeField = 0;

  uint32_t flags = 0;
  uint8_t flags2 = 0;

  ColumnJustification DataJustification() const {
    return static_cast<ColumnJustification>(justification & 3);
  }
  ColumnJustification HeaderJustification() const {
    return static_cast<ColumnJustification>((justification >> 2) & 3);
  }
  bool Has(ColumnFlags flag) const { return (flags & flag) == flag; }
};

struct ListFormatError {
  size_t offset = 0;  // of the character where the string went wrong
  std::string reason;
};

// Parses a FORMAT string and assigns the queue fields of its columns. Stops at
// the first violation: answers false with the offset and reason in `error` and
// leaves `columns` empty.
bool ParseListFormat(std::string_view format, std::vector<ListColumn>& columns,
                     ListFormatError* error = nullptr);

// Converts widths and indents from dialog units with the list's horizontal scale
// and places the columns side by side from the list's left edge. A column with an
// underline is shortened at the bottom by `borderLine` pixels when drawn; that
// is the painter's business, not the layout's.
void LayOutColumns(std::vector<ListColumn>& columns, const AxisScale& horizontal);

// Node states of tree rows from their level fields: kNodeOpen when the next row
// is deeper, otherwise kNodeCollapsed for a negative level and kNodeLeaf for a
// positive one.
enum TreeNodeState : int8_t { kNodeCollapsed = -1, kNodeLeaf = 0, kNodeOpen = 1 };
std::vector<TreeNodeState> TreeNodeStates(const std::vector<int32_t>& levels);

}  // namespace rk
