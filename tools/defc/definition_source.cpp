#include "tools/defc/definition_source.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "runtime/platform/code_page.h"
#include "runtime/windows/definition_flags.h"

namespace rk {
namespace {

using Json = nlohmann::json;

// Thrown inside the reader and turned into the error text at its boundary.
struct SourceError {
  std::string message;
};

struct TypeName {
  std::string_view name;
  uint8_t code;
  int32_t fixedSize;  // 0: the source gives the size
};

constexpr TypeName kTypeNames[] = {
    {"BYTE", 1, 1},     {"SHORT", 2, 2},    {"USHORT", 3, 2},    {"DATE", 4, 4},
    {"TIME", 5, 4},     {"LONG", 6, 4},     {"ULONG", 7, 4},     {"SREAL", 8, 4},
    {"REAL", 9, 8},     {"DECIMAL", 10, 0}, {"PDECIMAL", 11, 0}, {"STRING", 18, 0},
    {"CSTRING", 19, 0}, {"PSTRING", 20, 0}, {"TEXTAREA", 21, 0}, {"GROUP", 22, 0},
    {"MEMBER", 24, 0},  {"QUEUE", 25, -1},
};

struct UnitName {
  std::string_view name;
  Units units;
};

constexpr UnitName kUnitNames[] = {{"dialog", Units::kDialog},
                                   {"inch/25", Units::kInch25},
                                   {"inch/1000", Units::kInch1000},
                                   {"points", Units::kPoints}};

std::string Upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

class SourceReader {
 public:
  DefinitionSource Read(const Json& root, std::string_view fileStem) {
    Members(root, {"resource", "tag", "structures"});
    DefinitionSource source;
    source.definition.tag = Text(root, "tag", true);
    CheckResourceName(Text(root, "resource", true), source.definition.tag, fileStem);
    const Json& structures = Array(root, "structures");
    if (structures.empty()) Fail("\"structures\" is empty");
    std::set<std::string> labels;
    for (const Json& s : structures) {
      variables_.clear();
      source.definition.structures.push_back(Structure(s));
      const std::string& label = source.definition.structures.back().label;
      if (!labels.insert(label).second) Fail("label \"" + label + "\" appears twice");
      source.variables.push_back(variables_);
    }
    return source;
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) {
    std::string where;
    for (const std::string& part : context_) where += (where.empty() ? "" : "/") + part;
    throw SourceError{(where.empty() ? "" : where + ": ") + problem};
  }

  // Pushes a context part for the lifetime of the guard.
  struct Context {
    Context(SourceReader& r, std::string part) : reader(r) {
      r.context_.push_back(std::move(part));
    }
    ~Context() { reader.context_.pop_back(); }
    SourceReader& reader;
  };

  void Members(const Json& object, std::initializer_list<std::string_view> allowed) {
    if (!object.is_object()) Fail("expected a JSON object");
    for (const auto& [key, value] : object.items()) {
      if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
        Fail("unknown member \"" + key + "\"");
      }
    }
  }

  void CheckResourceName(const std::string& resource, const std::string& tag,
                         std::string_view fileStem) {
    size_t dollar = tag.rfind('$');
    if (dollar == std::string::npos) Fail("tag \"" + tag + "\" has no \"$\"");
    std::string expected = Upper(tag.substr(dollar + 1)) + "_RSC";
    if (Upper(resource) != expected) {
      Fail("resource \"" + resource + "\" does not match tag \"" + tag + "\" (expected \"" +
           expected + "\")");
    }
    if (!fileStem.empty() && fileStem != resource) {
      Fail("file name does not match resource \"" + resource + "\"");
    }
  }

  const Json* Find(const Json& object, std::string_view member) {
    auto it = object.find(member);
    return it == object.end() ? nullptr : &*it;
  }

  std::string Text(const Json& object, std::string_view member, bool required = false) {
    const Json* value = Find(object, member);
    if (!value) {
      if (required) Fail("member \"" + std::string(member) + "\" is missing");
      return {};
    }
    if (!value->is_string()) Fail("member \"" + std::string(member) + "\" must be a string");
    return StoredText(value->get<std::string>(), member);
  }

  std::string StoredText(const std::string& utf8, std::string_view member) {
    if (utf8.find('\0') != std::string::npos) {
      Fail("member \"" + std::string(member) + "\" holds a NUL character");
    }
    std::string problem;
    std::optional<std::string> stored = platform::Utf8ToAnsiStrict(utf8, problem);
    if (!stored) Fail("member \"" + std::string(member) + "\": " + problem);
    return *stored;
  }

  int32_t IntegerValue(const Json& value, std::string_view member, int64_t low = INT32_MIN,
                       int64_t high = INT32_MAX) {
    if (!value.is_number_integer())
      Fail("member \"" + std::string(member) + "\" must be an integer");
    auto number = value.get<int64_t>();
    if (value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) {
      number = INT64_MAX;
    }
    if (number < low || number > high) {
      Fail("member \"" + std::string(member) + "\" must be " + std::to_string(low) + ".." +
           std::to_string(high));
    }
    return static_cast<int32_t>(number);
  }

  int32_t IntegerMember(const Json& object, std::string_view member, int32_t fallback,
                        int64_t low = INT32_MIN, int64_t high = INT32_MAX) {
    const Json* value = Find(object, member);
    return value ? IntegerValue(*value, member, low, high) : fallback;
  }

  bool Boolean(const Json& object, std::string_view member) {
    const Json* value = Find(object, member);
    if (!value) return false;
    if (!value->is_boolean()) Fail("member \"" + std::string(member) + "\" must be true or false");
    return value->get<bool>();
  }

  const Json& Array(const Json& object, std::string_view member) {
    static const Json kEmpty = Json::array();
    const Json* value = Find(object, member);
    if (!value) return kEmpty;
    if (!value->is_array()) Fail("member \"" + std::string(member) + "\" must be a list");
    return *value;
  }

  // An integer, or a list of names from `names` whose bits are or-ed.
  template <size_t N>
  int32_t Bits(const Json& object, std::string_view member, const NamedBit (&names)[N]) {
    const Json* value = Find(object, member);
    if (!value) return 0;
    if (!value->is_array()) return IntegerValue(*value, member);
    int32_t bits = 0;
    for (const Json& name : *value) {
      if (!name.is_string()) Fail("member \"" + std::string(member) + "\" lists a non-name");
      auto it = std::find_if(std::begin(names), std::end(names),
                             [&](const NamedBit& n) { return n.name == name.get<std::string>(); });
      if (it == std::end(names)) {
        Fail("unknown name \"" + name.get<std::string>() + "\" in \"" + std::string(member) + "\"");
      }
      bits |= it->bit;
    }
    return bits;
  }

  Position At(const Json& object) {
    const Json* value = Find(object, "at");
    if (!value) return kPositionNotGiven;
    if (!value->is_array() || value->size() != 4) Fail("\"at\" must be a list of four places");
    Position at;
    for (int i = 0; i < 4; ++i) {
      const Json& place = (*value)[i];
      at[i] = place.is_null() ? kNotGiven : IntegerValue(place, "at");
    }
    return at;
  }

  std::optional<FontRecord> Font(const Json& object) {
    const Json* value = Find(object, "font");
    if (!value) return std::nullopt;
    Context context(*this, "font");
    Members(*value, {"face", "size", "color", "style"});
    FontRecord font;
    font.face = Text(*value, "face");
    font.size = IntegerMember(*value, "size", 0, 0, 1000);
    font.color = IntegerMember(*value, "color", -1);
    font.style = IntegerMember(*value, "style", -1);
    return font;
  }

  const TypeName& Type(const Json& object) {
    std::string name = Text(object, "type", true);
    for (const TypeName& type : kTypeNames) {
      if (type.name == name) return type;
    }
    Fail("unknown type \"" + name + "\"");
  }

  // A USE or BREAK descriptor; one that binds by position records its variable name
  // in binding order.
  std::optional<DataDescriptor> Descriptor(const Json& object, std::string_view member,
                                           bool bindsByPosition = true) {
    const Json* value = Find(object, member);
    if (!value) return std::nullopt;
    Context context(*this, std::string(member));
    Members(*value, {"type", "size", "places", "variable"});
    const TypeName& type = Type(*value);
    DataDescriptor descriptor;
    descriptor.type = type.code;
    descriptor.size = DescriptorSize(*value, type);
    bool isDecimal = type.code == 10 || type.code == 11;
    if (!isDecimal && Find(*value, "places")) Fail("\"places\" belongs to a DECIMAL only");
    descriptor.places = IntegerMember(*value, "places", 0, 0, 31);
    std::string variable = Text(*value, "variable");
    if (bindsByPosition) variables_.push_back(std::move(variable));
    return descriptor;
  }

  int32_t DescriptorSize(const Json& value, const TypeName& type) {
    const Json* size = Find(value, "size");
    if (type.fixedSize == -1) {
      if (size) Fail("a QUEUE has no size");
      return 0;
    }
    if (type.fixedSize > 0) {
      if (size && IntegerValue(*size, "size") != type.fixedSize) {
        Fail("a " + std::string(type.name) + " has size " + std::to_string(type.fixedSize));
      }
      return type.fixedSize;
    }
    if (!size) Fail("a " + std::string(type.name) + " needs a \"size\"");
    return IntegerValue(*size, "size", 1, 65535);
  }

  // A LIST's FROM: a row queue (binds a variable) or fixed choices (binds none).
  std::optional<DataDescriptor> From(const Json& object) {
    const Json* value = Find(object, "from");
    if (!value) return std::nullopt;
    Context context(*this, "from");
    if (Find(*value, "choices")) {
      Members(*value, {"choices"});
      DataDescriptor descriptor;
      descriptor.type = 18;
      descriptor.constantText = Text(*value, "choices");
      if (descriptor.constantText->empty()) Fail("\"choices\" is empty");
      descriptor.size = static_cast<int32_t>(descriptor.constantText->size());
      return descriptor;
    }
    Members(*value, {"type", "variable"});
    if (Type(*value).code != kQueueDescriptorType) Fail("a FROM is a QUEUE or has \"choices\"");
    DataDescriptor descriptor;
    descriptor.type = kQueueDescriptorType;
    variables_.push_back(Text(*value, "variable"));
    return descriptor;
  }

  static constexpr uint8_t kQueueDescriptorType = 25;

  int32_t Number(const Json& object, int32_t fallback) {
    int32_t number = IntegerMember(object, "number", fallback);
    if (number != 0 && !numbers_.insert(number).second) {
      Fail("number " + std::to_string(number) + " is used twice");
    }
    return number;
  }

  StructureRecord Structure(const Json& object) {
    if (!object.is_object()) Fail("a structure must be a JSON object");
    std::string kind = Text(object, "kind", true);
    std::string label = Text(object, "label", true);
    Context context(*this, label.empty() ? kind : label);
    if (label.find('$') == std::string::npos || label != Upper(label)) {
      Fail("label must be upper case \"PROCEDURE$NAME\"");
    }
    numbers_.clear();
    controlOrdinal_ = 0;
    if (kind == "WINDOW") return Window(object, label);
    if (kind == "REPORT") return Report(object, label);
    Fail("kind must be \"WINDOW\" or \"REPORT\", not \"" + kind + "\"");
  }

  int32_t UnitsAndFlags(const Json& object, Units fallback) {
    int32_t flags = IntegerMember(object, "flags", 0);
    if (flags & kUnitsMask) Fail("\"flags\" must not hold the unit bits 0x300; give \"units\"");
    Units units = fallback;
    if (const Json* value = Find(object, "units")) {
      auto it = std::find_if(std::begin(kUnitNames), std::end(kUnitNames), [&](const UnitName& u) {
        return value->is_string() && u.name == value->get<std::string>();
      });
      if (it == std::end(kUnitNames))
        Fail("\"units\" must be dialog, inch/25, inch/1000 or points");
      units = it->units;
    }
    return flags | static_cast<int32_t>(units);
  }

  StructureRecord Window(const Json& object, std::string label) {
    Members(object, {"kind", "label", "units", "flags", "at", "font", "title", "help", "attributes",
                     "palette", "timer", "menubar", "valueList", "controls"});
    StructureRecord w;
    w.kind = RecordKind::kWindow;
    w.label = std::move(label);
    w.flags = UnitsAndFlags(object, Units::kDialog);
    w.at = At(object);
    w.font = Font(object);
    w.title = Text(object, "title");
    w.help = Text(object, "help");
    w.attributes = Bits(object, "attributes", kWindowAttributeNames);
    w.palette = IntegerMember(object, "palette", 0, 0, 256);
    w.timer = IntegerMember(object, "timer", 0, 0);
    for (const Json& value : Array(object, "valueList"))
      w.valueList.push_back(IntegerValue(value, "valueList"));
    if (const Json* menubar = Find(object, "menubar")) w.menubar = MenuBar(*menubar);
    w.controls = Controls(Array(object, "controls"), RecordKind::kWindow);
    return w;
  }

  StructureRecord Report(const Json& object, std::string label) {
    Members(object, {"kind", "label", "units", "flags", "landscape", "at", "font", "text", "paper",
                     "preview", "bands"});
    StructureRecord r;
    r.kind = RecordKind::kReport;
    r.label = std::move(label);
    r.flags = UnitsAndFlags(object, Units::kInch1000) | (Boolean(object, "landscape") ? 1 : 0);
    r.at = At(object);
    r.font = Font(object);
    r.title = Text(object, "text");
    if (const Json* paper = Find(object, "paper")) r.paper = Paper(*paper);
    r.preview = Descriptor(object, "preview", false);  // bound by property, not by position
    r.bands = Bands(Array(object, "bands"));
    return r;
  }

  PaperRecord Paper(const Json& object) {
    Context context(*this, "paper");
    Members(object, {"size", "width", "length"});
    PaperRecord paper;
    paper.size = static_cast<int16_t>(IntegerMember(object, "size", 0, 1, INT16_MAX));
    bool custom = paper.size == paper_field::kCustomPaper;
    if (custom != (Find(object, "width") && Find(object, "length"))) {
      Fail("\"width\" and \"length\" are given exactly for paper size 256");
    }
    paper.width = static_cast<int16_t>(IntegerMember(object, "width", 0, 0, INT16_MAX));
    paper.length = static_cast<int16_t>(IntegerMember(object, "length", 0, 0, INT16_MAX));
    return paper;
  }

  std::vector<BandRecord> Bands(const Json& list) {
    std::vector<BandRecord> bands;
    int index = 0;
    for (const Json& object : list) {
      Context context(*this, "band " + std::to_string(++index));
      std::string kind = Text(object, "kind", true);
      bands.push_back(kind == "BREAK" ? Break(object) : Band(object, kind));
    }
    return bands;
  }

  BandRecord Break(const Json& object) {
    Members(object, {"kind", "flags", "use", "bands"});
    BandRecord b;
    b.kind = RecordKind::kBreak;
    b.flags = IntegerMember(object, "flags", 0);
    b.use = Descriptor(object, "use");
    if (!b.use) Fail("a BREAK needs its \"use\" variable");
    b.bands = Bands(Array(object, "bands"));
    return b;
  }

  BandRecord Band(const Json& object, const std::string& kind) {
    static const std::map<std::string, RecordKind> kBandKinds = {{"HEADER", RecordKind::kHeader},
                                                                 {"FOOTER", RecordKind::kFooter},
                                                                 {"FORM", RecordKind::kForm},
                                                                 {"DETAIL", RecordKind::kDetail}};
    auto it = kBandKinds.find(kind);
    if (it == kBandKinds.end()) Fail("\"" + kind + "\" is not a band kind");
    Members(object, {"kind", "flags", "at", "controls"});
    BandRecord b;
    b.kind = it->second;
    b.flags = IntegerMember(object, "flags", 0);
    b.at = At(object);
    b.controls = Controls(Array(object, "controls"), b.kind);
    return b;
  }

  MenuBarRecord MenuBar(const Json& object) {
    Context context(*this, "menubar");
    Members(object, {"flags", "items"});
    MenuBarRecord menubar;
    menubar.flags = IntegerMember(object, "flags", 0);
    menubar.items = Menus(Array(object, "items"));
    return menubar;
  }

  std::vector<MenuRecord> Menus(const Json& list) {
    std::vector<MenuRecord> menus;
    for (const Json& object : list) {
      std::string kind = Text(object, "kind", true);
      Context context(*this, kind + " \"" + Text(object, "text") + "\"");
      if (kind == "MENU") {
        Members(object, {"kind", "number", "flags", "text", "status", "items"});
      } else if (kind == "ITEM") {
        Members(object, {"kind", "number", "flags", "text", "status", "action", "separator"});
      } else {
        Fail("a menu holds MENU and ITEM records only");
      }
      MenuRecord m;
      m.kind = kind == "MENU" ? RecordKind::kMenu : RecordKind::kItem;
      m.number = Number(object, 0);
      m.flags = IntegerMember(object, "flags", 0) |
                (Boolean(object, "separator") ? menu_field::kSeparatorFlag : 0);
      m.text = Text(object, "text");
      m.status = Text(object, "status");
      m.action = IntegerMember(object, "action", 0, 0, 255);
      m.items = Menus(Array(object, "items"));
      menus.push_back(std::move(m));
    }
    return menus;
  }

  std::vector<ControlRecord> Controls(const Json& list, RecordKind container) {
    std::vector<ControlRecord> controls;
    for (const Json& object : list) controls.push_back(Control(object, container));
    return controls;
  }

  ControlRecord Control(const Json& object, RecordKind container) {
    std::string kindName = Text(object, "kind", true);
    const ControlLayout* layout = FindControlLayout(kindName);
    ++controlOrdinal_;
    Context context(*this, "control " +
                               std::to_string(IntegerMember(object, "number", controlOrdinal_)) +
                               " (" + kindName + ")");
    if (!layout) Fail("unknown control kind \"" + kindName + "\"");
    if (!MayHold(container, layout->kind))
      Fail(kindName + " cannot stand in " + std::string(RecordKindName(container)));
    CheckControlMembers(object, *layout);
    ControlRecord c;
    c.kind = layout->kind;
    c.number = Number(object, controlOrdinal_);
    c.flags = Bits(object, "flags", kControlFlagNames);
    c.at = At(object);
    c.use = Descriptor(object, "use");
    c.from = From(object);
    c.text = Text(object, "text");
    c.status = Text(object, "status");
    c.tooltip = Text(object, "tooltip");
    c.picture = Picture(object);
    c.name = Text(object, "name");
    c.format = Text(object, "format");
    c.font = Font(object);
    c.dropCount = static_cast<uint8_t>(IntegerMember(object, "drop", 0, 0, 255));
    if (c.kind == RecordKind::kOption) c.children = Controls(Array(object, "radios"), c.kind);
    if (c.kind == RecordKind::kSheet) c.children = Controls(Array(object, "tabs"), c.kind);
    if (c.kind == RecordKind::kTab) c.children = Controls(Array(object, "controls"), c.kind);
    return c;
  }

  // Only the members the kind stores are allowed.
  void CheckControlMembers(const Json& object, const ControlLayout& layout) {
    std::vector<std::string_view> allowed = {"kind", "number", "flags", "at"};
    auto allowIf = [&](int32_t offset, std::string_view member) {
      if (offset) allowed.push_back(member);
    };
    allowIf(layout.use, "use");
    allowIf(layout.text, "text");
    allowIf(layout.status, "status");
    allowIf(layout.tooltip, "tooltip");
    allowIf(layout.picture, "picture");
    allowIf(layout.font, "font");
    allowIf(layout.name2, "name");
    allowIf(layout.format, "format");
    allowIf(layout.dropCount, "drop");
    allowIf(layout.from, "from");
    if (layout.kind == RecordKind::kOption) allowed.push_back("radios");
    if (layout.kind == RecordKind::kSheet) allowed.push_back("tabs");
    if (layout.kind == RecordKind::kTab) allowed.push_back("controls");
    if (!object.is_object()) Fail("expected a JSON object");
    for (const auto& [key, value] : object.items()) {
      if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
        Fail("member \"" + key + "\" does not belong to a " + std::string(layout.name));
      }
    }
  }

  std::string Picture(const Json& object) {
    std::string picture = Text(object, "picture");
    if (!picture.empty() && picture[0] == '@') Fail("write the picture without its leading \"@\"");
    return picture;
  }

  std::vector<std::string> context_;
  std::vector<std::string> variables_;
  std::set<int32_t> numbers_;
  int32_t controlOrdinal_ = 0;
};

}  // namespace

std::optional<DefinitionSource> ParseDefinitionSource(std::string_view json,
                                                      std::string_view fileName,
                                                      std::string& error) {
  std::string_view stem;
  if (fileName.ends_with(".json")) {
    stem = fileName.substr(0, fileName.size() - 5);
    stem = stem.substr(
        stem.find_last_of('/') == std::string_view::npos ? 0 : stem.find_last_of('/') + 1);
  }
  try {
    Json root = Json::parse(json);
    return SourceReader().Read(root, stem);
  } catch (const SourceError& e) {
    error = std::string(fileName) + ": " + e.message;
  } catch (const Json::exception& e) {
    error = std::string(fileName) + ": " + e.what();
  }
  return std::nullopt;
}

std::optional<DefinitionSource> LoadDefinitionSource(const std::filesystem::path& path,
                                                     std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path.string() + ": cannot be read";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  return ParseDefinitionSource(text.str(), path.filename().string(), error);
}

}  // namespace rk
