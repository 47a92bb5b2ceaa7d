#include "tests/windows/sample_definitions.h"

namespace rk::testing {

DataDescriptor Descriptor(uint8_t type, int32_t size, int32_t places) {
  DataDescriptor d;
  d.type = type;
  d.size = size;
  d.places = places;
  return d;
}

namespace {

ControlRecord Make(RecordKind kind, int32_t number, Position at = kPositionNotGiven) {
  ControlRecord c;
  c.kind = kind;
  c.number = number;
  c.at = at;
  return c;
}

MenuRecord Item(int32_t number, std::string text, int32_t action = 0) {
  MenuRecord m;
  m.number = number;
  m.text = std::move(text);
  m.status = "status of " + m.text;
  m.action = action;
  return m;
}

StructureRecord FormWindow() {
  StructureRecord w;
  w.label = "UPDATESAMPLE$WINDOW";
  w.flags = 0x800 | 0x10;
  w.at = {kNotGiven, 5, 309, 178};
  w.font = FontRecord{"MS Sans Serif", 8, -1, -1};
  w.title = "SAMPLE FORM";
  w.help = "UpdateSample";
  w.attributes = 0x3804;
  w.timer = 1;
  w.palette = 16;
  w.valueList = {-1, 0x50, 0x78, 0x2D};

  MenuRecord file;
  file.kind = RecordKind::kMenu;
  file.text = "&File";
  MenuRecord separator;
  separator.flags = menu_field::kSeparatorFlag;
  MenuRecord sub;
  sub.kind = RecordKind::kMenu;
  sub.number = -3;
  sub.text = "Sub";
  sub.items = {Item(-4, "Deep")};
  file.items = {Item(-1, "&Print Setup ...", 16), separator, sub, Item(-2, "E&xit", 15)};
  w.menubar = MenuBarRecord{1, {file, Item(-5, "About")}};

  ControlRecord sheet = Make(RecordKind::kSheet, 1, {4, 4, 300, 150});
  ControlRecord general = Make(RecordKind::kTab, 2);
  general.text = "General";
  ControlRecord prompt = Make(RecordKind::kPrompt, 3, {8, 20, 40, 10});
  prompt.text = "TITLE:";
  ControlRecord entry = Make(RecordKind::kEntry, 4, {50, 20, 120, 10});
  entry.use = Descriptor(18, 60);
  entry.picture = "s60";
  entry.status = "TITLE OR DESCRIPTION";
  entry.flags = 0x200000;
  ControlRecord drop = Make(RecordKind::kList, 10, {50, 40, 60, 12});
  drop.use = Descriptor(18, 10);
  drop.format = "40L@s10@";
  drop.dropCount = 5;
  drop.from = Descriptor(18, 38);
  drop.from->constantText = "VHS|SVHS|VHSC|BETAMAX|8mm|Hi 8mm|OTHER";
  ControlRecord option = Make(RecordKind::kOption, 13, {8, 60, 100, 40});
  option.use = Descriptor(1, 1);
  option.text = "TAPE SPEED";
  option.name = "SPEED";
  ControlRecord sp = Make(RecordKind::kRadio, 14);
  sp.text = "SP";
  ControlRecord lp = Make(RecordKind::kRadio, 15);
  lp.text = "LP";
  lp.font = FontRecord{"", 0, 0xFF, 700};
  option.children = {sp, lp};
  general.children = {prompt, entry, drop, option};

  ControlRecord contents = Make(RecordKind::kTab, 16);
  contents.text = "CONTENTS";
  ControlRecord list = Make(RecordKind::kList, 23, {8, 20, 280, 100});
  list.flags = 0x803;
  list.format = "80L|M~TITLE~@s60@";
  list.status = "contents";
  list.from = Descriptor(25, 0);
  ControlRecord manufacturer = Make(RecordKind::kList, 20, {8, 130, 80, 12});
  manufacturer.use = Descriptor(18, 20);
  manufacturer.dropCount = 5;
  manufacturer.from = Descriptor(25, 0);
  ControlRecord text = Make(RecordKind::kText, 22, {8, 145, 280, 40});
  text.use = Descriptor(21, 1000);
  contents.children = {list, manufacturer, text};
  sheet.children = {general, contents};

  ControlRecord ok = Make(RecordKind::kButton, 27, {200, 160, 40, 14});
  ok.text = "OK";
  ok.status = "Accept";
  ok.tooltip = "Save the record";
  ok.flags = 0x40000;
  ControlRecord group = Make(RecordKind::kGroup, 31);
  group.text = "Group";
  ControlRecord check = Make(RecordKind::kCheck, 32);
  check.use = Descriptor(2, 2);
  check.text = "Check";
  ControlRecord spin = Make(RecordKind::kSpin, 33);
  spin.use = Descriptor(6, 4);
  spin.picture = "n5";
  ControlRecord show = Make(RecordKind::kUseString, 34);
  show.use = Descriptor(10, 3, 2);
  show.picture = "n6.2";
  ControlRecord constant = Make(RecordKind::kString, 35);
  constant.text = "constant";
  ControlRecord progress = Make(RecordKind::kProgress, 36);
  progress.use = Descriptor(24, 16);
  ControlRecord serial = Make(RecordKind::kEntry, 30);
  serial.use = Descriptor(6, 4);
  serial.picture = "n06";
  w.controls = {sheet,
                ok,
                group,
                check,
                spin,
                show,
                constant,
                progress,
                Make(RecordKind::kImage, 37),
                Make(RecordKind::kRegion, 38),
                Make(RecordKind::kLine, 39),
                Make(RecordKind::kBox, 40),
                serial};
  return w;
}

StructureRecord Report() {
  StructureRecord r;
  r.kind = RecordKind::kReport;
  r.label = "PRINTSAMPLE$REPORT";
  r.flags = 0x200 | 1;
  r.at = {1000, 2000, 6000, 8479};
  r.font = FontRecord{"Arial", 10, -1, -1};
  r.title = "SAMPLE REPORT";
  r.paper = PaperRecord{256, 2100, 2970};

  BandRecord header;
  header.kind = RecordKind::kHeader;
  header.at = {1000, 1000, 6000, 1000};
  ControlRecord heading = Make(RecordKind::kString, 1, {0, 0, 6000, 200});
  heading.text = "SAMPLE";
  header.controls = {heading};

  BandRecord groupHeader;
  groupHeader.kind = RecordKind::kHeader;
  groupHeader.at = {kNotGiven, kNotGiven, kNotGiven, 875};
  ControlRecord title = Make(RecordKind::kUseString, 2);
  title.use = Descriptor(18, 60);
  groupHeader.controls = {title};
  BandRecord detail;
  detail.kind = RecordKind::kDetail;
  detail.at = {kNotGiven, kNotGiven, kNotGiven, 1906};
  ControlRecord field = Make(RecordKind::kUseString, 3);
  field.use = Descriptor(6, 4);
  detail.controls = {field};
  BandRecord group;
  group.kind = RecordKind::kBreak;
  group.use = Descriptor(6, 4);
  group.bands = {groupHeader, detail};

  BandRecord form;
  form.kind = RecordKind::kForm;
  form.flags = 3;
  BandRecord footer;
  footer.kind = RecordKind::kFooter;
  footer.at = {1000, 10500, 6000, 500};
  r.bands = {header, group, form, footer};
  return r;
}

}  // namespace

Definition RichDefinition() {
  return Definition{"TEST.qvw$sample", {FormWindow(), Report()}};
}

}  // namespace rk::testing
