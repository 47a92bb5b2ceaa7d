// What a list hands its widgets to paint: the columns' look and, per row, each
// cell's formatted text, colours, icon and tree level. Texts are ANSI; colours
// are the runtime's 0x00BBGGRR numbers, -1 standing for the widget's default.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace rk::platform {

// The four colours of a cell, in the order of a column's colour fields.
enum ListColour : uint8_t {
  kListForeground = 0,
  kListBackground = 1,
  kListSelectedForeground = 2,
  kListSelectedBackground = 3,
};

struct ListColumnLook {
  int left = 0;  // pixels from the list's left edge
  int width = 0;
  int indent = 0;
  int headerIndent = 0;
  uint8_t dataJustification = 0;  // 0 left, 1 right, 2 centre, 3 decimal (drawn right)
  uint8_t headerJustification = 0;
  std::string header;  // ANSI; empty: no header text
  bool rightBorder = false;
  bool underline = false;
  bool resizable = false;
  bool tree = false;
  bool icon = false;
};

// Node boxes of tree rows.
enum class ListNode : int8_t { kNone, kClosed, kOpen };

struct ListCellLook {
  std::string text;  // ANSI, already formatted
  std::array<int32_t, 4> colours{-1, -1, -1, -1};
  int32_t icon = 0;  // 1-based into the icon list; 0 none
  int32_t level = 0;
  ListNode node = ListNode::kNone;
};

using ListRowLook = std::vector<ListCellLook>;  // one cell per column

}  // namespace rk::platform
