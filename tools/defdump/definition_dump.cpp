#include "tools/defdump/definition_dump.h"

#include <cstdio>

#include "runtime/windows/binding_order.h"

namespace rk {
namespace {

std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

std::string Place(int32_t value) {
  return value == kNotGiven ? "-" : std::to_string(value);
}

std::string PositionText(const Position& at) {
  return "at (" + Place(at[0]) + ", " + Place(at[1]) + ", " + Place(at[2]) + ", " + Place(at[3]) +
         ")";
}

std::string Quoted(std::string_view label, const std::string& text) {
  return text.empty() ? "" : " " + std::string(label) + " \"" + text + "\"";
}

std::string FontText(const std::optional<FontRecord>& font) {
  if (!font) return "";
  return " font \"" + font->face + "\" " + std::to_string(font->size) +
         (font->color != -1 ? " color " + Hex(font->color) : "") +
         (font->style != -1 ? " style " + Hex(font->style) : "");
}

std::string DescriptorText(const DataDescriptor& d) {
  std::string text = "type " + std::to_string(d.type) + " size " + std::to_string(d.size);
  if (d.places) text += " places " + std::to_string(d.places);
  if (d.constantText) text += " text \"" + *d.constantText + "\"";
  return text;
}

std::string UnitsText(Units units) {
  switch (units) {
    case Units::kDialog:
      return "dialog units";
    case Units::kInch25:
      return "1/25 inch";
    case Units::kInch1000:
      return "1/1000 inch";
    case Units::kPoints:
      return "points";
  }
  return "?";
}

class Dumper {
 public:
  std::string Structure(const StructureRecord& s) {
    Line(0, std::string(RecordKindName(s.kind)) + " " + s.label + " (" + UnitsText(s.units()) +
                ") flags " + Hex(s.flags) + " " + PositionText(s.at) + Quoted("title", s.title) +
                FontText(s.font));
    if (s.kind == RecordKind::kWindow) WindowFields(s);
    if (s.paper) {
      Line(1, "PAPER " + std::to_string(s.paper->size) + " " + std::to_string(s.paper->width) +
                  " x " + std::to_string(s.paper->length));
    }
    if (s.preview) Line(1, "preview queue " + DescriptorText(*s.preview));
    Controls(s.controls, 1);
    Bands(s.bands, 1);
    Bindings(s);
    return out_;
  }

 private:
  void Line(int depth, const std::string& text) {
    out_ += std::string(2 * depth, ' ') + text + "\n";
  }

  void WindowFields(const StructureRecord& s) {
    std::string values;
    for (int32_t value : s.valueList) values += " " + std::to_string(value);
    Line(1, "attributes " + Hex(s.attributes) + " palette " + std::to_string(s.palette) +
                " timer " + std::to_string(s.timer) + Quoted("help", s.help) +
                (values.empty() ? "" : " values" + values));
    if (s.menubar) {
      Line(1, "MENUBAR flags " + Hex(s.menubar->flags));
      Menus(s.menubar->items, 2);
    }
  }

  void Menus(const std::vector<MenuRecord>& menus, int depth) {
    for (const MenuRecord& m : menus) {
      std::string text = std::string(RecordKindName(m.kind)) + " " + std::to_string(m.number);
      if (m.IsSeparator()) text += " separator";
      text += Quoted("text", m.text) + Quoted("status", m.status);
      if (m.action) text += " action " + std::to_string(m.action);
      Line(depth, text);
      Menus(m.items, depth + 1);
    }
  }

  void Controls(const std::vector<ControlRecord>& controls, int depth) {
    for (const ControlRecord& c : controls) {
      std::string text = std::string(RecordKindName(c.kind)) + " " + std::to_string(c.number) +
                         " flags " + Hex(c.flags) + " " + PositionText(c.at) +
                         Quoted("text", c.text) + Quoted("name", c.name) +
                         Quoted("picture", c.picture) + Quoted("format", c.format) +
                         Quoted("status", c.status) + Quoted("tip", c.tooltip) + FontText(c.font);
      if (c.dropCount) text += " drop " + std::to_string(c.dropCount);
      if (c.use) text += " use [" + DescriptorText(*c.use) + "]";
      if (c.from) text += " from [" + DescriptorText(*c.from) + "]";
      Line(depth, text);
      Controls(c.children, depth + 1);
    }
  }

  void Bands(const std::vector<BandRecord>& bands, int depth) {
    for (const BandRecord& b : bands) {
      std::string text = std::string(RecordKindName(b.kind)) + " flags " + Hex(b.flags);
      if (b.kind == RecordKind::kBreak) {
        if (b.use) text += " use [" + DescriptorText(*b.use) + "]";
      } else {
        text += " " + PositionText(b.at);
      }
      Line(depth, text);
      Controls(b.controls, depth + 1);
      Bands(b.bands, depth + 1);
    }
  }

  void Bindings(const StructureRecord& s) {
    int index = 0;
    ForEachBoundDescriptor(
        s, [&](const DataDescriptor& d, const ControlRecord* owner, BindingRole role) {
          if (index == 0) Line(1, "bindings:");
          std::string who =
              owner ? std::string(RecordKindName(owner->kind)) + " " + std::to_string(owner->number)
                    : "BREAK";
          std::string what = role == BindingRole::kFrom ? " FROM " : " ";
          Line(2, std::to_string(++index) + ". " + who + what + DescriptorText(d));
        });
  }

  std::string out_;
};

}  // namespace

std::string DumpStructure(const StructureRecord& structure) {
  return Dumper().Structure(structure);
}

}  // namespace rk
