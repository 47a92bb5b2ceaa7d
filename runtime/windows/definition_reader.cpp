// Reads a stored definition into a definition tree.
//
// Layout read (offsets are buffer offsets: blob byte + 2; 0 = absent; integers
// 32-bit little-endian; nothing aligned):
//   +0   2 zero bytes (not stored)
//   +2   offset of the first top-level record (WINDOW 25 or REPORT 26)
//   each record: +0 kind code, +1 next sibling, then its fields by kind; the
//   sizes and field offsets of every kind are in definition_layout.h. Strings
//   are NUL-terminated; data descriptors 9 bytes; font records 16 bytes; value
//   nodes 8 bytes {value, next}.
// Checks: every record, descriptor, font record and value node lies wholly inside
// the buffer; every string ends inside it; every kind code is one that may stand
// where it is met; chains and nesting are bounded, so looping offsets end in an
// error instead of running for ever.
#include "runtime/windows/definition_reader.h"

#include <cstdio>
#include <cstring>

namespace rk {
namespace {

// Deeper nesting than any real definition has (sheet, tab, option, radio; menus in
// menus; breaks in breaks) means looping offsets. A limit of the definition
// format's own, unrelated to the other nesting limits of 32 (key trees, type
// descriptors).
constexpr int kMaxRecordNesting = 32;

std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

class DefinitionReader {
 public:
  DefinitionReader(std::span<const uint8_t> buffer, std::string& error)
      : buffer_(buffer),
        error_(error),
        recordBudget_(static_cast<int64_t>(buffer.size()) / kRecordHeaderSize + 1) {}

  bool FirstStructure(int32_t& offset) {
    if (buffer_.size() < static_cast<size_t>(kBufferLead + 4)) {
      return Fail("definition too short: " + std::to_string(buffer_.size()) + " bytes");
    }
    return Read32(kBufferLead, offset);
  }

  bool Label(int32_t at, std::string& label) {
    RecordKind kind;
    if (!Kind(at, kind)) return false;
    if (kind != RecordKind::kWindow && kind != RecordKind::kReport) {
      return Misplaced(at, kind, "a WINDOW or REPORT");
    }
    int32_t size = kind == RecordKind::kWindow ? window_field::kSize : report_field::kSize;
    return Span(at, size, RecordKindName(kind)) && StringAt(at + window_field::kLabel, label);
  }

  bool Next(int32_t at, int32_t& next) {
    if (--recordBudget_ < 0) return Fail("record chain loops back at offset " + Hex(at));
    return Read32(at + kNextOffset, next);
  }

  bool Structure(int32_t at, StructureRecord& s) {
    if (!Kind(at, s.kind)) return false;
    if (s.kind == RecordKind::kWindow) return Window(at, s);
    if (s.kind == RecordKind::kReport) return Report(at, s);
    return Misplaced(at, s.kind, "a WINDOW or REPORT");
  }

 private:
  bool Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }

  bool Misplaced(int32_t at, RecordKind kind, std::string_view expected) {
    return Fail(std::string(RecordKindName(kind)) + " record at offset " + Hex(at) + " where " +
                std::string(expected) + " record belongs");
  }

  // [at, at + size) must lie inside the buffer, past the two lead bytes.
  bool Span(int32_t at, int32_t size, std::string_view what) {
    if (at < kBufferLead ||
        static_cast<int64_t>(at) + size > static_cast<int64_t>(buffer_.size())) {
      return Fail(std::string(what) + " at offset " + Hex(at) + " (" + std::to_string(size) +
                  " bytes) lies outside the definition of " + std::to_string(buffer_.size()) +
                  " bytes");
    }
    return true;
  }

  bool Read8(int32_t at, uint8_t& value) {
    if (!Span(at, 1, "field")) return false;
    value = buffer_[at];
    return true;
  }

  bool Read16(int32_t at, int16_t& value) {
    if (!Span(at, 2, "field")) return false;
    value = static_cast<int16_t>(buffer_[at] | (buffer_[at + 1] << 8));
    return true;
  }

  bool Read32(int32_t at, int32_t& value) {
    if (!Span(at, 4, "field")) return false;
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | buffer_[at + i];
    value = static_cast<int32_t>(bits);
    return true;
  }

  bool ReadPosition(int32_t at, Position& position) {
    for (int i = 0; i < 4; ++i) {
      if (!Read32(at + 4 * i, position[i])) return false;
    }
    return true;
  }

  bool Kind(int32_t at, RecordKind& kind) {
    uint8_t code;
    if (!Span(at, kRecordHeaderSize, "record")) return false;
    if (!Read8(at, code)) return false;
    kind = static_cast<RecordKind>(code);
    if (RecordKindName(kind) == "?") {
      return Fail("unknown record kind " + std::to_string(code) + " at offset " + Hex(at));
    }
    return true;
  }

  // The string whose offset is stored at `field`.
  bool StringAt(int32_t field, std::string& text) {
    int32_t at;
    return Read32(field, at) && String(at, text);
  }

  bool String(int32_t at, std::string& text) {
    text.clear();
    if (at == 0) return true;
    if (!Span(at, 1, "string")) return false;
    const void* end = std::memchr(buffer_.data() + at, 0, buffer_.size() - at);
    if (!end) return Fail("string at offset " + Hex(at) + " runs past the end of the definition");
    text.assign(reinterpret_cast<const char*>(buffer_.data() + at),
                static_cast<const uint8_t*>(end) - (buffer_.data() + at));
    return true;
  }

  bool FontAt(int32_t field, std::optional<FontRecord>& font) {
    int32_t at;
    if (!Read32(field, at)) return false;
    if (at == 0) return true;
    if (!Span(at, kFontRecordSize, "font record")) return false;
    FontRecord record;
    if (!StringAt(at, record.face) || !Read32(at + 4, record.size) ||
        !Read32(at + 8, record.color) || !Read32(at + 0x0C, record.style)) {
      return false;
    }
    font = std::move(record);
    return true;
  }

  // A FROM descriptor of a text type may point to constant text with its third
  // field; everywhere else the third field is a number (decimal places).
  bool DescriptorAt(int32_t field, std::optional<DataDescriptor>& descriptor,
                    bool mayHoldText = false) {
    int32_t at;
    if (!Read32(field, at)) return false;
    if (at == 0) return true;
    if (!Span(at, kDescriptorSize, "data descriptor")) return false;
    DataDescriptor d;
    d.type = buffer_[at];
    if (!Read32(at + 1, d.size) || !Read32(at + 5, d.places)) return false;
    if (mayHoldText && IsTextType(d.type) && d.places != 0) {
      std::string text;
      if (!String(d.places, text)) return false;
      d.constantText = std::move(text);
      d.places = 0;
    }
    descriptor = std::move(d);
    return true;
  }

  static bool IsTextType(uint8_t type) { return type >= 18 && type <= 21; }

  // Reads the chain starting at the offset stored in `field`, one element per
  // record, with readOne(offset, element).
  template <typename T, typename ReadOne>
  bool Chain(int32_t field, std::vector<T>& out, ReadOne readOne) {
    int32_t at;
    if (!Read32(field, at)) return false;
    if (++depth_ > kMaxRecordNesting) return Fail("records nest too deeply at offset " + Hex(at));
    while (at != 0) {
      out.emplace_back();
      if (!readOne(at, out.back()) || !Next(at, at)) return false;
    }
    --depth_;
    return true;
  }

  bool Controls(int32_t field, std::vector<ControlRecord>& out, RecordKind container) {
    return Chain(field, out,
                 [&](int32_t at, ControlRecord& c) { return Control(at, c, container); });
  }

  bool Control(int32_t at, ControlRecord& c, RecordKind container) {
    if (!Kind(at, c.kind)) return false;
    const ControlLayout* layout = FindControlLayout(c.kind);
    if (!MayHold(container, c.kind)) {
      return Misplaced(at, c.kind, "a control of " + std::string(RecordKindName(container)));
    }
    if (!Span(at, layout->size, layout->name)) return false;
    bool ok = Read32(at + control_field::kFlags, c.flags) &&
              Read32(at + control_field::kNumber, c.number) &&
              Read32(at + control_field::kAttribute, c.attribute) &&
              ReadPosition(at + layout->position, c.at);
    auto text = [&](int32_t offset, std::string& out) {
      return !offset || StringAt(at + offset, out);
    };
    ok = ok && text(layout->text, c.text) && text(layout->status, c.status) &&
         text(layout->tooltip, c.tooltip) && text(layout->picture, c.picture) &&
         text(layout->name2, c.name) && text(layout->format, c.format);
    ok = ok && (!layout->font || FontAt(at + layout->font, c.font));
    ok = ok && (!layout->use || DescriptorAt(at + layout->use, c.use));
    ok = ok && (!layout->from || DescriptorAt(at + layout->from, c.from, true));
    ok = ok && (!layout->dropCount || Read8(at + layout->dropCount, c.dropCount));
    return ok && (!layout->children || Controls(at + layout->children, c.children, c.kind));
  }

  bool Menus(int32_t field, std::vector<MenuRecord>& out) {
    return Chain(field, out, [&](int32_t at, MenuRecord& m) { return Menu(at, m); });
  }

  bool Menu(int32_t at, MenuRecord& m) {
    if (!Kind(at, m.kind)) return false;
    if (m.kind != RecordKind::kMenu && m.kind != RecordKind::kItem) {
      return Misplaced(at, m.kind, "a MENU or ITEM");
    }
    bool isMenu = m.kind == RecordKind::kMenu;
    if (!Span(at, isMenu ? menu_field::kMenuSize : menu_field::kItemSize, RecordKindName(m.kind))) {
      return false;
    }
    bool ok =
        Read32(at + menu_field::kFlags, m.flags) && Read32(at + menu_field::kNumber, m.number) &&
        StringAt(at + menu_field::kText, m.text) && StringAt(at + menu_field::kStatus, m.status);
    if (!ok) return false;
    return isMenu ? Menus(at + menu_field::kFirstItem, m.items)
                  : Read32(at + menu_field::kAction, m.action);
  }

  bool MenuBar(int32_t field, std::optional<MenuBarRecord>& menubar) {
    int32_t at;
    if (!Read32(field, at)) return false;
    if (at == 0) return true;
    RecordKind kind;
    if (!Kind(at, kind)) return false;
    if (kind != RecordKind::kMenuBar) return Misplaced(at, kind, "a MENUBAR");
    if (!Span(at, menu_field::kMenuBarSize, "MENUBAR")) return false;
    MenuBarRecord record;
    if (!Read32(at + menu_field::kFlags, record.flags) ||
        !Menus(at + menu_field::kMenuBarFirst, record.items)) {
      return false;
    }
    menubar = std::move(record);
    return true;
  }

  bool ValueList(int32_t field, std::vector<int32_t>& values) {
    int32_t at;
    if (!Read32(field, at)) return false;
    while (at != 0) {
      if (--recordBudget_ < 0) return Fail("value list loops back at offset " + Hex(at));
      int32_t value;
      if (!Span(at, kValueNodeSize, "value node") || !Read32(at, value) || !Read32(at + 4, at)) {
        return false;
      }
      values.push_back(value);
    }
    return true;
  }

  bool Window(int32_t at, StructureRecord& w) {
    using namespace window_field;
    return Span(at, kSize, "WINDOW") && Read32(at + kFlags, w.flags) &&
           ReadPosition(at + kPosition, w.at) && StringAt(at + kLabel, w.label) &&
           FontAt(at + kFont, w.font) && StringAt(at + kTitle, w.title) &&
           StringAt(at + kHelp, w.help) && Read32(at + kAttributes, w.attributes) &&
           Read32(at + kPalette, w.palette) && Read32(at + kTimer, w.timer) &&
           ValueList(at + kValueList, w.valueList) && MenuBar(at + kMenuBar, w.menubar) &&
           Controls(at + kFirstControl, w.controls, RecordKind::kWindow);
  }

  bool Paper(int32_t field, std::optional<PaperRecord>& paper) {
    int32_t at;
    if (!Read32(field, at)) return false;
    if (at == 0) return true;
    RecordKind kind;
    if (!Kind(at, kind)) return false;
    if (kind != RecordKind::kPaper) return Misplaced(at, kind, "a PAPER");
    PaperRecord record;
    if (!Span(at, paper_field::kSize, "PAPER") ||
        !Read16(at + paper_field::kPaperSize, record.size) ||
        !Read16(at + paper_field::kWidth, record.width) ||
        !Read16(at + paper_field::kLength, record.length)) {
      return false;
    }
    paper = record;
    return true;
  }

  bool Report(int32_t at, StructureRecord& r) {
    using namespace report_field;
    return Span(at, kSize, "REPORT") && Read32(at + kFlags, r.flags) &&
           ReadPosition(at + kPosition, r.at) && StringAt(at + kLabel, r.label) &&
           FontAt(at + kFont, r.font) && StringAt(at + kText, r.title) &&
           Paper(at + kPaper, r.paper) && DescriptorAt(at + kPreview, r.preview) &&
           Bands(at + kFirstBand, r.bands);
  }

  bool Bands(int32_t field, std::vector<BandRecord>& out) {
    return Chain(field, out, [&](int32_t at, BandRecord& b) { return Band(at, b); });
  }

  bool Band(int32_t at, BandRecord& b) {
    if (!Kind(at, b.kind)) return false;
    if (b.kind == RecordKind::kBreak) {
      return Span(at, break_field::kSize, "BREAK") && Read32(at + break_field::kFlags, b.flags) &&
             DescriptorAt(at + break_field::kDescriptor, b.use) &&
             Bands(at + break_field::kFirstBand, b.bands);
    }
    if (!IsBandKind(b.kind)) return Misplaced(at, b.kind, "a band or BREAK");
    int32_t size = b.kind == RecordKind::kForm ? band_field::kFormSize : band_field::kSize;
    return Span(at, size, RecordKindName(b.kind)) && Read32(at + band_field::kFlags, b.flags) &&
           ReadPosition(at + band_field::kPosition, b.at) &&
           Controls(at + band_field::kFirstControl, b.controls, b.kind);
  }

  std::span<const uint8_t> buffer_;
  std::string& error_;
  int64_t recordBudget_;
  int depth_ = 0;
};

}  // namespace

bool SplitDefinitionResource(std::span<const uint8_t> resource, std::string& tag,
                             std::vector<uint8_t>& buffer, std::string& error) {
  const void* end = std::memchr(resource.data(), 0, resource.size());
  if (!end) {
    error = "definition resource has no NUL-terminated tag";
    return false;
  }
  size_t tagLength = static_cast<const uint8_t*>(end) - resource.data();
  tag.assign(reinterpret_cast<const char*>(resource.data()), tagLength);
  buffer.assign(kBufferLead, 0);
  buffer.insert(buffer.end(), resource.begin() + tagLength + 1, resource.end());
  return true;
}

std::optional<int32_t> FindStructureOffset(std::span<const uint8_t> buffer, std::string_view label,
                                           std::string& error) {
  DefinitionReader reader(buffer, error);
  int32_t at;
  if (!reader.FirstStructure(at)) return std::nullopt;
  while (at != 0) {
    std::string stored;
    if (!reader.Label(at, stored)) return std::nullopt;
    if (stored == label) return at;
    if (!reader.Next(at, at)) return std::nullopt;
  }
  return 0;
}

std::optional<StructureRecord> ReadStructure(std::span<const uint8_t> buffer, int32_t offset,
                                             std::string& error) {
  StructureRecord structure;
  if (!DefinitionReader(buffer, error).Structure(offset, structure)) return std::nullopt;
  return structure;
}

std::optional<std::vector<StructureRecord>> ReadStructures(std::span<const uint8_t> buffer,
                                                           std::string& error) {
  DefinitionReader reader(buffer, error);
  std::vector<StructureRecord> structures;
  int32_t at;
  if (!reader.FirstStructure(at)) return std::nullopt;
  while (at != 0) {
    structures.emplace_back();
    if (!reader.Structure(at, structures.back()) || !reader.Next(at, at)) return std::nullopt;
  }
  return structures;
}

std::optional<Definition> ReadDefinitionResource(std::span<const uint8_t> resource,
                                                 std::string& error) {
  Definition definition;
  std::vector<uint8_t> buffer;
  if (!SplitDefinitionResource(resource, definition.tag, buffer, error)) return std::nullopt;
  auto structures = ReadStructures(buffer, error);
  if (!structures) return std::nullopt;
  definition.structures = std::move(*structures);
  return definition;
}

}  // namespace rk
