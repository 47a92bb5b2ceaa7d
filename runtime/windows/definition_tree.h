// A window or report definition as a tree of plain records: what the reader builds
// from a stored definition, what the writer stores, and what the window system
// builds its window, control, menu and band objects from. Offsets do not appear:
// containment is by child vectors in chain order. An empty text means the stored
// offset is 0 (absent).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/windows/definition_layout.h"

namespace rk {

// x, y, width, height; kNotGiven in a place means the default position or size.
using Position = std::array<int32_t, 4>;
inline constexpr Position kPositionNotGiven = {kNotGiven, kNotGiven, kNotGiven, kNotGiven};

// How a bound variable is reached, chosen by its descriptor's type when bound.
enum class BindingKind : uint8_t {
  kUnbound,
  kVariable,  // a plain variable of the descriptor's type and size
  kQueue,     // type 25: a row queue
  kMember,    // type 24: a binding object of its own kind
};

struct VariableBinding {
  BindingKind kind = BindingKind::kUnbound;
  void* address = nullptr;
  bool operator==(const VariableBinding&) const = default;
};

struct DataDescriptor {
  uint8_t type = 0;
  int32_t size = 0;
  int32_t places = 0;                       // the third field when it is not a text
  std::optional<std::string> constantText;  // a FROM of fixed choices
  VariableBinding binding;                  // filled by BindVariables
  bool operator==(const DataDescriptor&) const = default;
};

struct FontRecord {
  std::string face;  // empty: inherit
  int32_t size = 0;  // 0: inherit
  int32_t color = -1;
  int32_t style = -1;
  bool operator==(const FontRecord&) const = default;
};

struct ControlRecord {
  RecordKind kind = RecordKind::kString;
  int32_t flags = 0;
  int32_t number = 0;
  int32_t attribute = 0;
  Position at = kPositionNotGiven;
  std::optional<DataDescriptor> use;
  std::string text;
  std::string status;
  std::string tooltip;
  std::string picture;
  std::string name;
  std::string format;
  std::optional<FontRecord> font;
  uint8_t dropCount = 0;
  std::optional<DataDescriptor> from;
  std::vector<ControlRecord> children;  // radios of an OPTION, tabs of a SHEET, a TAB's controls
  bool operator==(const ControlRecord&) const = default;
};

struct MenuRecord {
  RecordKind kind = RecordKind::kItem;  // kMenu or kItem
  int32_t flags = 0;
  int32_t number = 0;
  std::string text;
  std::string status;
  int32_t action = 0;             // ITEM: standard action, 0 none
  std::vector<MenuRecord> items;  // MENU: its menus and items
  bool IsSeparator() const { return (flags & menu_field::kSeparatorFlag) != 0; }
  bool operator==(const MenuRecord&) const = default;
};

struct MenuBarRecord {
  int32_t flags = 0;
  std::vector<MenuRecord> items;
  bool operator==(const MenuBarRecord&) const = default;
};

// A band (HEADER, FOOTER, FORM, DETAIL) or a BREAK with its own bands.
struct BandRecord {
  RecordKind kind = RecordKind::kDetail;
  int32_t flags = 0;
  Position at = kPositionNotGiven;
  std::vector<ControlRecord> controls;
  std::optional<DataDescriptor> use;  // BREAK: the break variable
  std::vector<BandRecord> bands;      // BREAK: group header and footer, breaks, details
  bool operator==(const BandRecord&) const = default;
};

struct PaperRecord {
  int16_t size = 0;
  int16_t width = 0;  // for size 256 only
  int16_t length = 0;
  bool operator==(const PaperRecord&) const = default;
};

// A top-level WINDOW or REPORT record.
struct StructureRecord {
  RecordKind kind = RecordKind::kWindow;
  int32_t flags = 0;
  Position at = kPositionNotGiven;
  std::string label;
  std::optional<FontRecord> font;
  std::string title;  // the window's caption or the report's document name

  // WINDOW only.
  std::string help;
  int32_t attributes = 0;
  int32_t palette = 0;
  int32_t timer = 0;
  std::optional<MenuBarRecord> menubar;
  std::vector<int32_t> valueList;
  std::vector<ControlRecord> controls;

  // REPORT only.
  std::optional<PaperRecord> paper;
  std::optional<DataDescriptor> preview;
  std::vector<BandRecord> bands;

  Units units() const { return UnitsOf(flags); }
  bool operator==(const StructureRecord&) const = default;
};

// Everything one definition resource holds.
struct Definition {
  std::string tag;
  std::vector<StructureRecord> structures;
  bool operator==(const Definition&) const = default;
};

}  // namespace rk
