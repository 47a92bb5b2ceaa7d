// Writes a definition tree as a stored definition.
//
// Layout written (offsets are buffer offsets: blob byte + 2; 0 = absent;
// integers 32-bit little-endian; nothing aligned):
//   +2   offset of the first top-level record
//   +6   items and records, in this order for every record: its strings, its font
//        record (16 bytes, then the face name), its data descriptors (9 bytes:
//        type, size, places or constant-text offset), its value nodes or paper
//        record, then the record itself, then its children; siblings are chained
//        through +1 of each record. Record sizes and field offsets by kind are in
//        definition_layout.h.
// The tree is expected to be valid (the definition compiler checks it); fields a
// record's kind does not have are not stored.
#include "runtime/windows/definition_writer.h"

#include <cassert>
#include <cstring>

namespace rk {
namespace {

class BlobWriter {
 public:
  BlobWriter() { blob_.resize(4); }  // room for the first top-level offset

  std::vector<uint8_t> Finish(int32_t firstStructure) {
    Put32(kBufferLead, firstStructure);
    return std::move(blob_);
  }

  int32_t Here() const { return static_cast<int32_t>(blob_.size()) + kBufferLead; }

  int32_t Reserve(int32_t size) {
    int32_t at = Here();
    blob_.resize(blob_.size() + size, 0);
    return at;
  }

  void Put8(int32_t at, uint8_t value) { blob_[at - kBufferLead] = value; }
  void Put16(int32_t at, int16_t value) {
    auto bits = static_cast<uint16_t>(value);
    Put8(at, bits & 0xFF);
    Put8(at + 1, bits >> 8);
  }
  void Put32(int32_t at, int32_t value) {
    auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) Put8(at + i, (bits >> (8 * i)) & 0xFF);
  }
  void PutPosition(int32_t at, const Position& position) {
    for (int i = 0; i < 4; ++i) Put32(at + 4 * i, position[i]);
  }

  int32_t String(const std::string& text) {
    if (text.empty()) return 0;
    int32_t at = Reserve(static_cast<int32_t>(text.size()) + 1);
    std::memcpy(&blob_[at - kBufferLead], text.data(), text.size());
    return at;
  }

  int32_t Font(const std::optional<FontRecord>& font) {
    if (!font) return 0;
    int32_t at = Reserve(kFontRecordSize);
    Put32(at + 0x04, font->size);
    Put32(at + 0x08, font->color);
    Put32(at + 0x0C, font->style);
    Put32(at, String(font->face));
    return at;
  }

  // Written even when empty: an offset of 0 would read back as no text at all.
  int32_t StringAlways(const std::string& text) {
    int32_t at = Reserve(static_cast<int32_t>(text.size()) + 1);
    std::memcpy(&blob_[at - kBufferLead], text.data(), text.size());
    return at;
  }

  int32_t Descriptor(const std::optional<DataDescriptor>& descriptor) {
    if (!descriptor) return 0;
    // An empty constant text still makes a list of fixed choices (none), which
    // a descriptor without text does not.
    int32_t third =
        descriptor->constantText ? StringAlways(*descriptor->constantText) : descriptor->places;
    int32_t at = Reserve(kDescriptorSize);
    Put8(at, descriptor->type);
    Put32(at + 1, descriptor->size);
    Put32(at + 5, third);
    return at;
  }

  int32_t ValueList(const std::vector<int32_t>& values) {
    int32_t first = 0;
    int32_t previous = 0;
    for (int32_t value : values) {
      int32_t node = Reserve(kValueNodeSize);
      Put32(node, value);
      if (previous) Put32(previous + 4, node);
      if (!first) first = node;
      previous = node;
    }
    return first;
  }

  // Starts a record: kind byte written, everything else zero.
  int32_t Record(RecordKind kind, int32_t size) {
    int32_t at = Reserve(size);
    Put8(at, static_cast<uint8_t>(kind));
    return at;
  }

  // Writes each element with writeOne (which returns its record offset) and links
  // the records through their next fields; returns the first offset.
  template <typename T, typename WriteOne>
  int32_t Chain(const std::vector<T>& records, WriteOne writeOne) {
    int32_t first = 0;
    int32_t previous = 0;
    for (const T& record : records) {
      int32_t at = writeOne(record);
      if (previous) Put32(previous + kNextOffset, at);
      if (!first) first = at;
      previous = at;
    }
    return first;
  }

 private:
  std::vector<uint8_t> blob_;
};

class DefinitionWriter {
 public:
  std::vector<uint8_t> Write(const std::vector<StructureRecord>& structures) {
    int32_t first = out_.Chain(structures, [&](const StructureRecord& s) {
      return s.kind == RecordKind::kReport ? Report(s) : Window(s);
    });
    return out_.Finish(first);
  }

 private:
  int32_t Controls(const std::vector<ControlRecord>& controls) {
    return out_.Chain(controls, [&](const ControlRecord& c) { return Control(c); });
  }

  int32_t Control(const ControlRecord& control) {
    const ControlLayout* layout = FindControlLayout(control.kind);
    assert(layout && "the definition compiler admits only control kinds here");
    if (!layout) return 0;
    struct Field {
      int32_t offset;
      int32_t value;
    };
    Field fields[] = {
        {layout->text, layout->text ? out_.String(control.text) : 0},
        {layout->status, layout->status ? out_.String(control.status) : 0},
        {layout->tooltip, layout->tooltip ? out_.String(control.tooltip) : 0},
        {layout->picture, layout->picture ? out_.String(control.picture) : 0},
        {layout->name2, layout->name2 ? out_.String(control.name) : 0},
        {layout->format, layout->format ? out_.String(control.format) : 0},
        {layout->font, layout->font ? out_.Font(control.font) : 0},
        {layout->use, layout->use ? out_.Descriptor(control.use) : 0},
        {layout->from, layout->from ? out_.Descriptor(control.from) : 0},
    };
    int32_t at = out_.Record(control.kind, layout->size);
    out_.Put32(at + control_field::kFlags, control.flags);
    out_.Put32(at + control_field::kNumber, control.number);
    out_.Put32(at + control_field::kAttribute, control.attribute);
    out_.PutPosition(at + layout->position, control.at);
    for (const Field& field : fields) {
      if (field.offset) out_.Put32(at + field.offset, field.value);
    }
    if (layout->dropCount) out_.Put8(at + layout->dropCount, control.dropCount);
    if (layout->children) out_.Put32(at + layout->children, Controls(control.children));
    return at;
  }

  int32_t Menus(const std::vector<MenuRecord>& menus) {
    return out_.Chain(menus, [&](const MenuRecord& m) { return Menu(m); });
  }

  int32_t Menu(const MenuRecord& menu) {
    int32_t text = out_.String(menu.text);
    int32_t status = out_.String(menu.status);
    bool isMenu = menu.kind == RecordKind::kMenu;
    int32_t at = out_.Record(menu.kind, isMenu ? menu_field::kMenuSize : menu_field::kItemSize);
    out_.Put32(at + menu_field::kFlags, menu.flags);
    out_.Put32(at + menu_field::kNumber, menu.number);
    out_.Put32(at + menu_field::kText, text);
    out_.Put32(at + menu_field::kStatus, status);
    if (isMenu) {
      out_.Put32(at + menu_field::kFirstItem, Menus(menu.items));
    } else {
      out_.Put32(at + menu_field::kAction, menu.action);
    }
    return at;
  }

  int32_t MenuBar(const std::optional<MenuBarRecord>& menubar) {
    if (!menubar) return 0;
    int32_t at = out_.Record(RecordKind::kMenuBar, menu_field::kMenuBarSize);
    out_.Put32(at + menu_field::kFlags, menubar->flags);
    out_.Put32(at + menu_field::kMenuBarFirst, Menus(menubar->items));
    return at;
  }

  int32_t Window(const StructureRecord& window) {
    using namespace window_field;
    int32_t label = out_.String(window.label);
    int32_t title = out_.String(window.title);
    int32_t help = out_.String(window.help);
    int32_t font = out_.Font(window.font);
    int32_t values = out_.ValueList(window.valueList);
    int32_t at = out_.Record(RecordKind::kWindow, kSize);
    out_.Put32(at + kFlags, window.flags);
    out_.PutPosition(at + kPosition, window.at);
    out_.Put32(at + kLabel, label);
    out_.Put32(at + kFont, font);
    out_.Put32(at + kTitle, title);
    out_.Put32(at + kHelp, help);
    out_.Put32(at + kAttributes, window.attributes);
    out_.Put32(at + kPalette, window.palette);
    out_.Put32(at + kTimer, window.timer);
    out_.Put32(at + kValueList, values);
    out_.Put32(at + kMenuBar, MenuBar(window.menubar));
    out_.Put32(at + kFirstControl, Controls(window.controls));
    return at;
  }

  int32_t Paper(const std::optional<PaperRecord>& paper) {
    if (!paper) return 0;
    int32_t at = out_.Record(RecordKind::kPaper, paper_field::kSize);
    out_.Put16(at + paper_field::kPaperSize, paper->size);
    out_.Put16(at + paper_field::kWidth, paper->width);
    out_.Put16(at + paper_field::kLength, paper->length);
    return at;
  }

  int32_t Report(const StructureRecord& report) {
    using namespace report_field;
    int32_t label = out_.String(report.label);
    int32_t text = out_.String(report.title);
    int32_t font = out_.Font(report.font);
    int32_t paper = Paper(report.paper);
    int32_t preview = out_.Descriptor(report.preview);
    int32_t at = out_.Record(RecordKind::kReport, kSize);
    out_.Put32(at + kFlags, report.flags);
    out_.PutPosition(at + kPosition, report.at);
    out_.Put32(at + kLabel, label);
    out_.Put32(at + kFont, font);
    out_.Put32(at + kText, text);
    out_.Put32(at + kPaper, paper);
    out_.Put32(at + kPreview, preview);
    out_.Put32(at + kFirstBand, Bands(report.bands));
    return at;
  }

  int32_t Bands(const std::vector<BandRecord>& bands) {
    return out_.Chain(bands, [&](const BandRecord& b) {
      return b.kind == RecordKind::kBreak ? Break(b) : Band(b);
    });
  }

  int32_t Band(const BandRecord& band) {
    bool isForm = band.kind == RecordKind::kForm;
    int32_t at = out_.Record(band.kind, isForm ? band_field::kFormSize : band_field::kSize);
    out_.Put32(at + band_field::kFlags, band.flags);
    out_.PutPosition(at + band_field::kPosition, band.at);
    out_.Put32(at + band_field::kFirstControl, Controls(band.controls));
    return at;
  }

  int32_t Break(const BandRecord& group) {
    int32_t descriptor = out_.Descriptor(group.use);
    int32_t at = out_.Record(RecordKind::kBreak, break_field::kSize);
    out_.Put32(at + break_field::kFlags, group.flags);
    out_.Put32(at + break_field::kDescriptor, descriptor);
    out_.Put32(at + break_field::kFirstBand, Bands(group.bands));
    return at;
  }

  BlobWriter out_;
};

}  // namespace

std::vector<uint8_t> WriteDefinitionBlob(const std::vector<StructureRecord>& structures) {
  return DefinitionWriter().Write(structures);
}

std::vector<uint8_t> WriteDefinitionResource(const Definition& definition) {
  std::vector<uint8_t> resource(definition.tag.begin(), definition.tag.end());
  resource.push_back(0);
  std::vector<uint8_t> blob = WriteDefinitionBlob(definition.structures);
  resource.insert(resource.end(), blob.begin(), blob.end());
  return resource;
}

}  // namespace rk
