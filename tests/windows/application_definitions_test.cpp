// The application's window definitions as the program embeds them: every one loads,
// and every window carries the controls, numbers, texts, pictures, FORMAT strings,
// choices, menus and bindings that the procedures address by number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_table.h"
#include "runtime/windows/binding_order.h"
#include "runtime/windows/definition_reader.h"

namespace rk {
namespace {

constexpr std::string_view kDefinitionType = "DABDUMP";
constexpr int32_t kQueueType = 25;

// The structures of one embedded definition resource, read once per test run.
const Definition& LoadDefinition(const std::string& resource) {
  static std::map<std::string, Definition> loaded;
  auto found = loaded.find(resource);
  if (found != loaded.end()) return found->second;
  Definition definition;
  std::optional<std::span<const uint8_t>> bytes = FindResource(resource, kDefinitionType);
  if (bytes) {
    std::string error;
    std::optional<Definition> read = ReadDefinitionResource(*bytes, error);
    if (read)
      definition = std::move(*read);
    else
      ADD_FAILURE() << resource << ": " << error;
  } else {
    ADD_FAILURE() << resource << " is not embedded";
  }
  return loaded.emplace(resource, std::move(definition)).first->second;
}

const StructureRecord* FindStructure(const std::string& resource, const std::string& label) {
  for (const StructureRecord& structure : LoadDefinition(resource).structures) {
    if (structure.label == label) return &structure;
  }
  return nullptr;
}

// Visits every control below `controls` in creation order (a container before its
// children, its children before its next sibling).
void ForEachControl(const std::vector<ControlRecord>& controls,
                    const std::function<void(const ControlRecord&)>& visit) {
  for (const ControlRecord& control : controls) {
    visit(control);
    ForEachControl(control.children, visit);
  }
}

const ControlRecord* FindControl(const StructureRecord& window, int32_t number) {
  const ControlRecord* found = nullptr;
  ForEachControl(window.controls, [&](const ControlRecord& control) {
    if (control.number == number && !found) found = &control;
  });
  return found;
}

// ---------------------------------------------------------------------------------
// The windows of the application, with the definition that holds each.

struct ExpectedWindow {
  const char* resource;
  const char* label;
  const char* title;
  int32_t attributes;
  int32_t width;  // 0: the size is the layout's choice
  int32_t height;
  int32_t timer;
};

const std::vector<ExpectedWindow>& ApplicationWindows() {
  static const std::vector<ExpectedWindow> windows = {
      {"REELB001_RSC", "MAIN$APPFRAME", "REELKEEPER V1.0", 0x5820, 400, 270, 0},
      {"REELB002_RSC", "BROWSEHTAPES$QUICKWINDOW", "USER COMPILED TAPES", 0x3804, 0, 0, 0},
      {"REELB006_RSC", "BROWSEITEMS$QUICKWINDOW", "Compilation Items", 0x3804, 0, 0, 0},
      {"REELB011_RSC", "BROWSESUBJECT$QUICKWINDOW", "Browse SUBJECTS", 0x3804, 0, 0, 0},
      {"REELB013_RSC", "BROWSEMANUFACTURER$QUICKWINDOW", "MANUFACTURERS", 0x3804, 0, 0, 0},
      {"REELB015_RSC", "BROWSEVIDEOS$QUICKWINDOW", "BROWSE THE VIDEO LIBRARY", 0x3804, 0, 0, 0},
      {"REELB018_RSC", "BROWSECAST$QUICKWINDOW", "Browse the CAST File", 0x3804, 0, 0, 0},
      {"REELB021_RSC", "BROWSEITE:SERIAL_NO$QUICKWINDOW", "COMPILATION CONTENTS", 0x3804, 0, 0, 0},
      {"REELB026_RSC", "BROWSEITE:SUBJECTS$QUICKWINDOW", "Browse in SUBJECT order", 0x3804, 0, 0,
       0},
      {"REELB029_RSC", "BROWSECAS:SERIALN$QUICKWINDOW", "CAST FOR THIS TAPE", 0x3804, 0, 0, 0},
      {"REELB023_RSC", "SELECTHTAPES$QUICKWINDOW", "SELECT A MASTER TAPE", 0x3804, 0, 0, 0},
      {"REELB024_RSC", "SELECTSUBJECT$QUICKWINDOW", "Select a SUBJECT", 0x3804, 0, 0, 0},
      {"REELB031_RSC", "SELECTVIDEOS$QUICKWINDOW", "SELECT A VIDEO", 0x3804, 0, 0, 0},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", "USER COMPILED TAPE INFORMATION", 0x3004, 309,
       178, 0},
      {"REELB025_RSC", "UPDATEITEMS$QUICKWINDOW", "UPDATE COMPILATION CONTENTS", 0x3004, 0, 0, 0},
      {"REELB027_RSC", "UPDATESUBJECT$QUICKWINDOW", "Update SUBJECTS", 0x3004, 0, 0, 0},
      {"REELB028_RSC", "UPDATEMANUFACTURER$QUICKWINDOW", "Update the MANUFACTURER File", 0x3004, 0,
       0, 0},
      {"REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW", "Update the videos File", 0x3004, 0, 0, 0},
      {"REELB032_RSC", "UPDATECAST$QUICKWINDOW", "Update the CAST File", 0x3004, 0, 0, 0},
      {"REELB033_RSC", "TREEBROWSEHOME$QUICKWINDOW", "TREE BROWSE COMPILATIONS", 0x3024, 0, 0, 0},
      {"REELB034_RSC", "TREEBROWSECOMMERCIAL$QUICKWINDOW", "TREE BROWSE COLLECTION", 0x3024, 0, 0,
       0},
      {"REELB036_RSC", "SPLASH$WINDOW", "REELKEEPER V1.0", 0x2048, 265, 169, 0},
      {"REELB036_RSC", "SPLASH$PROGRESSWINDOW", "Progress...", 0x2040, 142, 59, 1},
      {"REELB037_RSC", "ABOUT$WINDOW", nullptr, 0x2000, 260, 126, 0},
      {"REELB003_RSC", "PRINTHTA:SERIAL_NO$PROGRESSWINDOW", "Progress...", 0x2040, 142, 59, 1},
      {"REELB004_RSC", "PRINTHTA:DESCRIPTION$PROGRESSWINDOW", "Progress...", 0x2040, 142, 59, 1},
      {"REELB007_RSC", "PRINTITE:SERIAL_NO$PROGRESSWINDOW", "Progress...", 0x2040, 142, 59, 1},
      {"REELB016_RSC", "PRINTVID:SERIALN$PROGRESSWINDOW", "Progress...", 0x2040, 142, 59, 1},
      {"REELB019_RSC", "PRINTCAS:SERIALN$PROGRESSWINDOW", "Progress...", 0x2040, 142, 59, 1},
  };
  return windows;
}

TEST(ApplicationDefinitions, EveryEmbeddedDefinitionLoadsUnderItsOwnTag) {
  int definitions = 0;
  for (const ResourceEntry& entry : ProgramResources()) {
    if (std::string_view(entry.type) != kDefinitionType) continue;
    ++definitions;
    std::string name = entry.name;
    std::string error;
    std::optional<Definition> definition = ReadDefinitionResource(entry.bytes(), error);
    ASSERT_TRUE(definition) << name << ": " << error;
    std::string shortName = name.substr(0, name.size() - std::string("_RSC").size());
    std::transform(shortName.begin(), shortName.end(), shortName.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(definition->tag, "REELBASE.qvw$" + shortName) << name;
    ASSERT_FALSE(definition->structures.empty()) << name;
    std::set<std::string> labels;
    for (const StructureRecord& structure : definition->structures) {
      EXPECT_TRUE(labels.insert(structure.label).second) << name << ": " << structure.label;
    }
  }
  EXPECT_GE(definitions, 28);
}

TEST(ApplicationDefinitions, WindowsHaveTheirTitlesAttributesSizesAndFont) {
  for (const ExpectedWindow& expected : ApplicationWindows()) {
    SCOPED_TRACE(expected.label);
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->kind, RecordKind::kWindow);
    EXPECT_EQ(window->units(), Units::kDialog);
    if (expected.title) {
      EXPECT_EQ(window->title, expected.title);
    }
    EXPECT_EQ(window->attributes, expected.attributes);
    EXPECT_EQ(window->timer, expected.timer);
    if (expected.width) {
      EXPECT_EQ(window->at[2], expected.width);
      EXPECT_EQ(window->at[3], expected.height);
    }
    ASSERT_TRUE(window->font);
    EXPECT_EQ(window->font->face, "MS Sans Serif");
    EXPECT_EQ(window->font->size, 8);
    // The frame and the MDI windows ask for the system-command events.
    bool mdi = (expected.attributes & 0x04) != 0 || std::string(expected.label) == "MAIN$APPFRAME";
    EXPECT_EQ((window->flags & 0x800) != 0, mdi);
  }
}

// Control numbers are the procedures' handles: in every window they run 1, 2, 3, ...
// in creation order (tabs carry none), so that a control added in the wrong place
// shifts a number and fails here.
TEST(ApplicationDefinitions, ControlsAreNumberedFromOneInCreationOrder) {
  for (const ExpectedWindow& expected : ApplicationWindows()) {
    SCOPED_TRACE(expected.label);
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    int32_t next = 1;
    ForEachControl(window->controls, [&](const ControlRecord& control) {
      if (control.kind == RecordKind::kTab) {
        EXPECT_EQ(control.number, 0) << "tab " << control.text;
        return;
      }
      EXPECT_EQ(control.number, next) << "control after " << next - 1;
      next = control.number + 1;
    });
  }
}

bool Inside(const Position& inner, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return inner[0] >= left && inner[1] >= top && inner[0] + inner[2] <= right &&
         inner[1] + inner[3] <= bottom;
}

// Every control is placed, and lies inside its window; controls on a tab lie inside
// the sheet and radios inside their option box.
TEST(ApplicationDefinitions, ControlsLieInsideTheirWindowSheetAndOption) {
  for (const ExpectedWindow& expected : ApplicationWindows()) {
    SCOPED_TRACE(expected.label);
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    std::function<void(const std::vector<ControlRecord>&, const Position&)> check =
        [&](const std::vector<ControlRecord>& controls, const Position& area) {
          for (const ControlRecord& control : controls) {
            if (control.kind == RecordKind::kTab) {
              check(control.children, area);
              continue;
            }
            EXPECT_TRUE(Inside(control.at, area[0], area[1], area[0] + area[2], area[1] + area[3]))
                << "control " << control.number << " at " << control.at[0] << "," << control.at[1]
                << " size " << control.at[2] << "x" << control.at[3];
            check(control.children, control.at);
          }
        };
    check(window->controls, Position{0, 0, window->at[2], window->at[3]});
  }
}

// ---------------------------------------------------------------------------------
// The frame's menu.

struct ExpectedMenuEntry {
  int32_t number;
  const char* text;  // nullptr: a separator
  const char* status;
  int32_t action;
};

TEST(ApplicationDefinitions, FrameMenuHasItemsMinusOneToMinusThirtyThreeInMenuOrder) {
  const std::vector<ExpectedMenuEntry> expected = {
      {-1, "&Print Setup ...", "Setup printer", 16},
      {-2, "E&xit", "Exit this application", 15},
      {-3, "Cu&t", "Remove item to Windows Clipboard", 10},
      {-4, "&Copy", "Copy item to Windows Clipboard", 11},
      {-5, "&Paste", "Paste contents of Windows Clipboard", 12},
      {-6, "Browse HOME VIDEO TAPES", "Browse HOME VIDEO TAPES", 0},
      {-7, "Browse ITEMS RECORDED", "Browse ITEMS RECORDED", 0},
      {-8, nullptr, "", 0},
      {-9, "Browse COMMERCIAL VIDEOS", "Browse COMMERCIAL VIDEOS", 0},
      {-10, "Browse VIDEO CAST", "Browse VIDEO CAST", 0},
      {-11, nullptr, "", 0},
      {-12, "Tree Browse HOME VIDEO'S", "", 0},
      {-13, "Tree Browse COMMERCIAL VIDEO'S", "", 0},
      {-14, nullptr, "", 0},
      {-15, "Browse the SUBJECT file", "Browse SUBJECT", 0},
      {-16, "Browse the MANUFACTURER file", "Browse MANUFACTURER", 0},
      {-17, "&Reports", "Report data", 0},
      {-18, "Report HOME VIDEO TAPES", "", 0},
      {-19, "Print by SERIAL NUMBER", "Print ordered by the HTA:SERIAL_No key", 0},
      {-20, "Print by DESCRIPTION", "Print ordered by the HTA:DESCRIPTION key", 0},
      {-21, "Report HOME VIDEO CONTENTS", "", 0},
      {-22, "Print by SERIAL NUMBER", "Print ordered by the ITE:SERIAL_No key", 0},
      {-23, "Report COMMERCIAL VIDEOS", "", 0},
      {-24, "Print by SERIAL NUMBER", "Print ordered by the VID:SERIALN key", 0},
      {-25, "Report VIDEO CAST MEMBERS", "", 0},
      {-26, "Print by SERIAL NUMBER", "Print ordered by the CAS:SERIALN key", 0},
      {-27, "T&ile", "Make all open windows visible", 2},
      {-28, "&Cascade", "Stack all open windows", 3},
      {-29, "&Arrange Icons", "Align all window icons", 4},
      {-30, "&Contents", "View the contents of the help file", 5},
      {-31, "&Search for Help On...", "Search for help on a subject", 7},
      {-32, "&How to Use Help", "How to use Windows Help", 6},
      {-33, "About", "", 0},
  };
  const StructureRecord* frame = FindStructure("REELB001_RSC", "MAIN$APPFRAME");
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(frame->menubar);

  std::vector<const MenuRecord*> numbered;
  std::vector<const MenuRecord*> titles;  // the unnumbered menus
  std::function<void(const std::vector<MenuRecord>&)> walk = [&](const auto& items) {
    for (const MenuRecord& item : items) {
      if (item.number != 0)
        numbered.push_back(&item);
      else if (item.kind == RecordKind::kMenu)
        titles.push_back(&item);
      walk(item.items);
    }
  };
  walk(frame->menubar->items);

  ASSERT_EQ(numbered.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const MenuRecord& item = *numbered[i];
    SCOPED_TRACE(expected[i].number);
    EXPECT_EQ(item.number, expected[i].number);
    EXPECT_EQ(item.IsSeparator(), expected[i].text == nullptr);
    if (expected[i].text) {
      EXPECT_EQ(item.text, expected[i].text);
    }
    EXPECT_EQ(item.status, expected[i].status);
    EXPECT_EQ(item.action, expected[i].action);
    // The four report sub-menus and "&Reports" itself hold items; nothing else does.
    bool container = expected[i].number == -17 || expected[i].number == -18 ||
                     expected[i].number == -21 || expected[i].number == -23 ||
                     expected[i].number == -25;
    EXPECT_EQ(item.kind == RecordKind::kMenu, container);
  }

  std::vector<std::pair<std::string, std::string>> titleTexts;
  for (const MenuRecord* title : titles) titleTexts.emplace_back(title->text, title->status);
  EXPECT_EQ(titleTexts, (std::vector<std::pair<std::string, std::string>>{
                            {"&File", ""},
                            {"&Edit", ""},
                            {"&Browse Files", ""},
                            {"&Window", "Create and Arrange windows"},
                            {"&Help", "Windows Help"}}));
}

// ---------------------------------------------------------------------------------
// Controls the procedures address: kind and text by number.

struct ExpectedControl {
  const char* resource;
  const char* label;
  int32_t number;
  RecordKind kind;
  const char* text;  // nullptr: not checked
};

// A browse or select window: the list is 1, the buttons follow from 2 with the sheet
// numbered between them (after Insert, Change and Delete, or after Select).
void ExpectBrowseControls(std::vector<ExpectedControl>& out, const char* resource,
                          const char* label, int32_t sheet, std::vector<const char*> buttons) {
  out.push_back({resource, label, 1, RecordKind::kList, nullptr});
  out.push_back({resource, label, sheet, RecordKind::kSheet, nullptr});
  int32_t number = 2;
  for (const char* text : buttons) {
    if (number == sheet) ++number;
    out.push_back({resource, label, number++, RecordKind::kButton, text});
  }
}

struct NumberedControl {
  int32_t number;
  RecordKind kind;
  const char* text;  // nullptr: not checked
};

void ExpectWindowControls(std::vector<ExpectedControl>& out, const char* resource,
                          const char* label, std::vector<NumberedControl> controls) {
  for (const NumberedControl& control : controls) {
    out.push_back({resource, label, control.number, control.kind, control.text});
  }
}

std::vector<ExpectedControl> AddressedControls() {
  std::vector<ExpectedControl> controls;
  ExpectBrowseControls(controls, "REELB002_RSC", "BROWSEHTAPES$QUICKWINDOW", 5,
                       {"&Insert a New Tape", "&Change a Tapes Details", "&Delete a Tape",
                        "COMPILATION CONTENTS", "Close", "Help"});
  ExpectBrowseControls(
      controls, "REELB006_RSC", "BROWSEITEMS$QUICKWINDOW", 5,
      {"&Insert", "&Change", "&Delete", "Select Tape", "Select SUBJECT", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB011_RSC", "BROWSESUBJECT$QUICKWINDOW", 5,
                       {"&Insert", "&Change", "&Delete", "ITEMS", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB013_RSC", "BROWSEMANUFACTURER$QUICKWINDOW", 5,
                       {"&Insert", "&Change", "&Delete", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB015_RSC", "BROWSEVIDEOS$QUICKWINDOW", 5,
                       {"&Insert A New Tape", "&Change A Tapes Details", "&Delete A Tape",
                        "CAST OF THIS TAPE", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB018_RSC", "BROWSECAST$QUICKWINDOW", 5,
                       {"&Insert", "&Change", "&Delete", "videos", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB021_RSC", "BROWSEITE:SERIAL_NO$QUICKWINDOW", 5,
                       {"&Insert Item To Compilation", "&Change An Items Details",
                        "&Delete An Item From The Compilation", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB026_RSC", "BROWSEITE:SUBJECTS$QUICKWINDOW", 5,
                       {"&Insert", "&Change", "&Delete", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB029_RSC", "BROWSECAS:SERIALN$QUICKWINDOW", 5,
                       {"&Insert", "&Change", "&Delete", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB023_RSC", "SELECTHTAPES$QUICKWINDOW", 3,
                       {"&Select A Tape", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB024_RSC", "SELECTSUBJECT$QUICKWINDOW", 3,
                       {"&Select", "Close", "Help"});
  ExpectBrowseControls(controls, "REELB031_RSC", "SELECTVIDEOS$QUICKWINDOW", 3,
                       {"&Select", "Close", "Help"});

  ExpectWindowControls(controls, "REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW",
                       {{1, RecordKind::kSheet, nullptr},
                        {2, RecordKind::kPrompt, "SERIAL:"},
                        {3, RecordKind::kPrompt, "TITLE:"},
                        {4, RecordKind::kEntry, nullptr},
                        {5, RecordKind::kPrompt, "START DATE:"},
                        {6, RecordKind::kEntry, nullptr},
                        {7, RecordKind::kPrompt, "END DATE:"},
                        {8, RecordKind::kEntry, nullptr},
                        {9, RecordKind::kPrompt, "TYPE:"},
                        {10, RecordKind::kList, nullptr},
                        {11, RecordKind::kPrompt, "FORMAT:"},
                        {12, RecordKind::kList, nullptr},
                        {13, RecordKind::kOption, "TAPE SPEED"},
                        {14, RecordKind::kRadio, "SP"},
                        {15, RecordKind::kRadio, "LP"},
                        {16, RecordKind::kRadio, "SLP - NTSC & M-PAL"},
                        {17, RecordKind::kPrompt, "LENGTH:"},
                        {18, RecordKind::kList, nullptr},
                        {19, RecordKind::kPrompt, "MANUFACTURER:"},
                        {20, RecordKind::kList, nullptr},
                        {21, RecordKind::kPrompt, "NOTES:"},
                        {22, RecordKind::kText, nullptr},
                        {23, RecordKind::kList, nullptr},
                        {24, RecordKind::kButton, "&Insert"},
                        {25, RecordKind::kButton, "&Change"},
                        {26, RecordKind::kButton, "&Delete"},
                        {27, RecordKind::kButton, "OK"},
                        {28, RecordKind::kButton, "Cancel"},
                        {29, RecordKind::kButton, "Help"},
                        {30, RecordKind::kEntry, nullptr}});
  ExpectWindowControls(controls, "REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW",
                       {{1, RecordKind::kSheet, nullptr},
                        {38, RecordKind::kEntry, nullptr},
                        {40, RecordKind::kSpin, nullptr}});
  ExpectWindowControls(controls, "REELB027_RSC", "UPDATESUBJECT$QUICKWINDOW",
                       {{1, RecordKind::kSheet, nullptr}});
  ExpectWindowControls(controls, "REELB028_RSC", "UPDATEMANUFACTURER$QUICKWINDOW",
                       {{1, RecordKind::kSheet, nullptr}});
  ExpectWindowControls(controls, "REELB025_RSC", "UPDATEITEMS$QUICKWINDOW",
                       {{1, RecordKind::kSheet, nullptr}});
  ExpectWindowControls(controls, "REELB032_RSC", "UPDATECAST$QUICKWINDOW",
                       {{1, RecordKind::kSheet, nullptr}});
  for (auto [resource, label] : {std::pair{"REELB033_RSC", "TREEBROWSEHOME$QUICKWINDOW"},
                                 std::pair{"REELB034_RSC", "TREEBROWSECOMMERCIAL$QUICKWINDOW"}}) {
    ExpectWindowControls(controls, resource, label,
                         {{1, RecordKind::kList, nullptr},
                          {2, RecordKind::kButton, "Close"},
                          {3, RecordKind::kButton, "&Insert"},
                          {4, RecordKind::kButton, "&Change"},
                          {5, RecordKind::kButton, "&Delete"}});
  }
  ExpectWindowControls(controls, "REELB036_RSC", "SPLASH$WINDOW",
                       {{2, RecordKind::kList, nullptr}, {3, RecordKind::kButton, "Continue"}});
  ExpectWindowControls(controls, "REELB037_RSC", "ABOUT$WINDOW",
                       {{4, RecordKind::kButton, "Close"}});
  for (const ExpectedWindow& window : ApplicationWindows()) {
    if (!std::string_view(window.label).ends_with("$PROGRESSWINDOW")) continue;
    ExpectWindowControls(controls, window.resource, window.label,
                         {{1, RecordKind::kProgress, nullptr},
                          {2, RecordKind::kString, nullptr},
                          {3, RecordKind::kString, nullptr},
                          {4, RecordKind::kButton, "Cancel"}});
  }
  return controls;
}

TEST(ApplicationDefinitions, AddressedControlsHaveTheirKindAndText) {
  for (const ExpectedControl& expected : AddressedControls()) {
    SCOPED_TRACE(std::string(expected.label) + " control " + std::to_string(expected.number));
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    const ControlRecord* control = FindControl(*window, expected.number);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind, expected.kind);
    if (expected.text) {
      EXPECT_EQ(control->text, expected.text);
    }
  }
}

// ---------------------------------------------------------------------------------
// Lists: FORMAT strings and their row source; drop lists: their choices.

struct ExpectedList {
  const char* resource;
  const char* label;
  int32_t number;
  const char* format;
  const char* choices;  // nullptr: rows come from a queue bound at run time
};

TEST(ApplicationDefinitions, ListsHaveTheirFormatAndRowSource) {
  const std::vector<ExpectedList> lists = {
      {"REELB002_RSC", "BROWSEHTAPES$QUICKWINDOW", 1,
       "33L|M~SERIAL~@n06@173L|M~TITLE~@s60@53L|M~START DATE~@D5@45L|M~END DATE~@D5@49L|M~TYPE~@"
       "s10@53L|M~FORMAT~@s12@29L|M~SPEED~@s3@20L|M~LENGTH~@s5@",
       nullptr},
      {"REELB006_RSC", "BROWSEITEMS$QUICKWINDOW", 1,
       "30L|M~SERIAL~@N06@36L|M~DATE~@D5@45L|M~START TIME~@T6@45L|M~END TIME~@T6@57L|M~RUNNING "
       "TIME~@T4@65L|M~COUNTER START~@N_6@55L|M~COUNTER END~@n_6@164L|M~DESCRIPTION~@s80@80L|M~"
       "PROGRAM SOURCE~@s20@",
       nullptr},
      {"REELB011_RSC", "BROWSESUBJECT$QUICKWINDOW", 1, "80L|M~SUBJECT~@s20@", nullptr},
      {"REELB013_RSC", "BROWSEMANUFACTURER$QUICKWINDOW", 1, "80L|M~MANUFACTURER~@s20@", nullptr},
      {"REELB015_RSC", "BROWSEVIDEOS$QUICKWINDOW", 1,
       "32L|M~SERIAL~@N06@124L|M~TITLE~@s60@51C|M~No. OF TAPES~L@N_2@127L|M~PUBLISHER~@s30@85L|"
       "M~PUB CAT  No~@s20@57L|M~RUNNING TIME~@T4@100L|M~PREVIOUSLY AVAILABLE AS~@s60@29C|M~"
       "STEREO~L@s1@20L|M~SURROUND SOUND~@s5@",
       nullptr},
      {"REELB018_RSC", "BROWSECAST$QUICKWINDOW", 1,
       "33L|M~SERIAL~@N06@163L|M~PERFORMER~@s40@80L|M~STAR~@s20@", nullptr},
      {"REELB021_RSC", "BROWSEITE:SERIAL_NO$QUICKWINDOW", 1,
       "39L|M~DATE~@D5@45L|M~START TIME~@T6@45L|M~END TIME~@T6@58C|M~RUNNING TIME~L@T4@66C|M~"
       "COUNTER START~L@N_6@55C|M~COUNTER END~L@n_6@211L|M~DESCRIPTION~@s80@85L|M~PROGRAM "
       "SOURCE~@s20@24L|M~SERIAL~@N06@",
       nullptr},
      {"REELB026_RSC", "BROWSEITE:SUBJECTS$QUICKWINDOW", 1,
       "31L|M~SERIAL~@N06@37L|M~DATE~@D5@46L|M~START TIME~@T6@45L|M~END TIME~@T6@57L|M~RUNNING "
       "TIME~@T4@64L|M~COUNTER START~@N_6@55L|M~COUNTER END~@n_6@126L|M~DESCRIPTION~@s80@80L|M~"
       "PROGRAM SOURCE~@s20@",
       nullptr},
      {"REELB029_RSC", "BROWSECAS:SERIALN$QUICKWINDOW", 1,
       "165L|M~PERFORMER~@s40@85L|M~STAR~@s20@24L|M~SERIAL~@N06@", nullptr},
      {"REELB023_RSC", "SELECTHTAPES$QUICKWINDOW", 1,
       "35L|M~SERIAL~@n06@168L|M~TITLE~@s60@49L|M~START DATE~@D5@39L|M~END DATE~@D5@45L|M~TYPE~@"
       "s10@52L|M~FORMAT~@s12@26L|M~SPEED~@s3@20L|M~LENGTH~@s5@",
       nullptr},
      {"REELB024_RSC", "SELECTSUBJECT$QUICKWINDOW", 1, "80L|M~SUBJECT~@s20@", nullptr},
      {"REELB031_RSC", "SELECTVIDEOS$QUICKWINDOW", 1,
       "37L|M~SERIAL~@N06@245L|M~TITLE~@s60@43C|M~No. TAPES~L@N_2@100L|M~PUBLISHER~@s30@80L|M~"
       "PUB CAT  No~@s20@100L|M~RUNNING TIME~@T4@100L|M~PREVIOUSLY AVAILABLE AS~@s60@4L|M~"
       "STEREO~@s1@20L|M~SURROUND SOUND~@s5@",
       nullptr},
      {"REELB033_RSC", "TREEBROWSEHOME$QUICKWINDOW", 1, "800L*IT@s200@", nullptr},
      {"REELB034_RSC", "TREEBROWSECOMMERCIAL$QUICKWINDOW", 1, "800L*IT@s200@", nullptr},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 20, "80L@s20@", nullptr},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 10, nullptr,
       "VHS|SVHS|VHSC|BETAMAX|8mm|Hi 8mm|OTHER"},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 12, nullptr,
       "PAL|NTSC 3.58|NTSC 4.43|SECAM|MESECAM|M-PAL|N-PAL"},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 18, nullptr,
       "30|60|90|120|135|180|195|200|240|300|OTHER"},
      {"REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW", 12, nullptr,
       "VHS|BETAMAX|8mm|Hi 8mm|LASER DISC|CD-i|DIGITAL VIDEO|OTHER"},
      {"REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW", 16, nullptr,
       "FAMILY|PARENTAL GUIDANCE|14+|18+|- XXX -"},
  };
  for (const ExpectedList& expected : lists) {
    SCOPED_TRACE(std::string(expected.label) + " control " + std::to_string(expected.number));
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    const ControlRecord* list = FindControl(*window, expected.number);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->kind, RecordKind::kList);
    ASSERT_TRUE(list->from);
    if (expected.format) {
      EXPECT_EQ(list->format, expected.format);
    }
    if (expected.choices) {
      EXPECT_GT(list->dropCount, 0);
      EXPECT_EQ(list->from->type, 18);
      EXPECT_EQ(list->from->constantText, std::optional<std::string>(expected.choices));
      EXPECT_EQ(list->from->size, static_cast<int32_t>(std::string(expected.choices).size()));
    } else {
      EXPECT_EQ(list->from->type, kQueueType);
    }
  }
}

// Every list of the browses, selects and forms' child lists is scrolled by its
// procedure; the tree and the start window's text list scroll themselves.
TEST(ApplicationDefinitions, PageLoadedListsAreProgramScrolled) {
  constexpr int32_t kProgramScrolled = 0x800;
  for (const ExpectedWindow& expected : ApplicationWindows()) {
    SCOPED_TRACE(expected.label);
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    std::string label = expected.label;
    bool pageLoaded =
        label.starts_with("BROWSE") || label.starts_with("SELECT") || label.starts_with("UPDATE");
    ForEachControl(window->controls, [&](const ControlRecord& control) {
      if (control.kind != RecordKind::kList || control.dropCount != 0) return;
      EXPECT_EQ((control.flags & kProgramScrolled) != 0, pageLoaded) << "list " << control.number;
    });
  }
}

struct ExpectedTabs {
  const char* resource;
  const char* label;
  int32_t sheet;
  std::vector<std::string> tabs;
};

TEST(ApplicationDefinitions, SheetsHaveTheirTabsInOrder) {
  const std::vector<ExpectedTabs> sheets = {
      {"REELB002_RSC",
       "BROWSEHTAPES$QUICKWINDOW",
       5,
       {"SERIAL #", "TAPE TITLE", "COMPILATION DATE", "COMPILATION CONTENTS"}},
      {"REELB006_RSC",
       "BROWSEITEMS$QUICKWINDOW",
       5,
       {"Serial Number", "DATE", "TITLE", "ITEM SUBJECTS"}},
      {"REELB011_RSC", "BROWSESUBJECT$QUICKWINDOW", 5, {"SUBJECTS"}},
      {"REELB013_RSC", "BROWSEMANUFACTURER$QUICKWINDOW", 5, {"TAPE MANUFACTURERS"}},
      {"REELB015_RSC", "BROWSEVIDEOS$QUICKWINDOW", 5, {"UNIQUE SERIAL NUMBER", "VIDEO TITLE"}},
      {"REELB018_RSC", "BROWSECAST$QUICKWINDOW", 5, {"CAS BY SERIAL #", "BY NAME"}},
      {"REELB021_RSC", "BROWSEITE:SERIAL_NO$QUICKWINDOW", 5, {"CONTENTS OF COMPILATION"}},
      {"REELB026_RSC",
       "BROWSEITE:SUBJECTS$QUICKWINDOW",
       5,
       {"COMPILATION CONTENTS FOR THIS SUBJECT"}},
      {"REELB029_RSC", "BROWSECAS:SERIALN$QUICKWINDOW", 5, {"CAST"}},
      {"REELB023_RSC",
       "SELECTHTAPES$QUICKWINDOW",
       3,
       {"SERIAL #", "DESCRIPTION", "COMPILATION DATE"}},
      {"REELB024_RSC", "SELECTSUBJECT$QUICKWINDOW", 3, {"SUBJECTS"}},
      {"REELB031_RSC", "SELECTVIDEOS$QUICKWINDOW", 3, {"SERIAL #", "TITLE"}},
      {"REELB022_RSC",
       "UPDATEHTAPES$QUICKWINDOW",
       1,
       {"General", "General (cont.)", "NOTES", "COMPILATION CONTENTS"}},
  };
  for (const ExpectedTabs& expected : sheets) {
    SCOPED_TRACE(expected.label);
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    const ControlRecord* sheet = FindControl(*window, expected.sheet);
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->kind, RecordKind::kSheet);
    std::vector<std::string> tabs;
    for (const ControlRecord& tab : sheet->children) tabs.push_back(tab.text);
    EXPECT_EQ(tabs, expected.tabs);
  }
}

// The forms with a memo keep it on a tab named "NOTES"; a parent's form keeps its
// child list on the tab the procedures name.
TEST(ApplicationDefinitions, FormsKeepNotesAndChildListsOnTheirTabs) {
  struct Placement {
    const char* resource;
    const char* label;
    int32_t number;
    const char* tab;
  };
  const std::vector<Placement> placements = {
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 22, "NOTES"},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 23, "COMPILATION CONTENTS"},
      {"REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW", 43, "CAST"},
      {"REELB027_RSC", "UPDATESUBJECT$QUICKWINDOW", 4, "ITEMS"},
  };
  for (const Placement& expected : placements) {
    SCOPED_TRACE(std::string(expected.label) + " control " + std::to_string(expected.number));
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    const ControlRecord* sheet = FindControl(*window, 1);
    ASSERT_NE(sheet, nullptr);
    std::string holder;
    for (const ControlRecord& tab : sheet->children) {
      ForEachControl(tab.children, [&](const ControlRecord& control) {
        if (control.number == expected.number) holder = tab.text;
      });
    }
    EXPECT_EQ(holder, expected.tab);
  }
  // Every memo is on a "NOTES" tab.
  for (const ExpectedWindow& expected : ApplicationWindows()) {
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    for (const ControlRecord& sheet : window->controls) {
      if (sheet.kind != RecordKind::kSheet) continue;
      for (const ControlRecord& tab : sheet.children) {
        ForEachControl(tab.children, [&](const ControlRecord& control) {
          if (control.kind == RecordKind::kText) {
            EXPECT_EQ(tab.text, "NOTES") << expected.label;
          }
        });
      }
    }
  }
}

// ---------------------------------------------------------------------------------
// Entries: picture and status message; bindings in order.

TEST(ApplicationDefinitions, FormEntriesHaveTheirPicturesAndMessages) {
  struct ExpectedEntry {
    const char* resource;
    const char* label;
    int32_t number;
    const char* picture;
    const char* status;  // nullptr: not checked
  };
  const std::vector<ExpectedEntry> entries = {
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 30, "n06", "UNIQUE SERIAL NUMBER"},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 4, "s60", "TITLE OR DESCRIPTION"},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 6, "D5", "TAPE STARTED..."},
      {"REELB022_RSC", "UPDATEHTAPES$QUICKWINDOW", 8, "D5", "TAPE COMPLETED"},
      {"REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW", 38, "s20", nullptr},
      {"REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW", 40, "N1", nullptr},
  };
  for (const ExpectedEntry& expected : entries) {
    SCOPED_TRACE(std::string(expected.label) + " control " + std::to_string(expected.number));
    const StructureRecord* window = FindStructure(expected.resource, expected.label);
    ASSERT_NE(window, nullptr);
    const ControlRecord* entry = FindControl(*window, expected.number);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->picture, expected.picture);
    if (expected.status) {
      EXPECT_EQ(entry->status, expected.status);
    }
  }
}

struct Bound {
  int32_t control;
  uint8_t type;
  int32_t size;
  bool operator==(const Bound&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Bound& bound) {
  return out << "{control " << bound.control << ", type " << int(bound.type) << ", size "
             << bound.size << "}";
}

std::vector<Bound> BindingsOf(StructureRecord window) {
  std::vector<Bound> bindings;
  ForEachBoundDescriptor(
      window, [&](const DataDescriptor& descriptor, const ControlRecord* control, BindingRole) {
        bindings.push_back({control ? control->number : 0, descriptor.type, descriptor.size});
      });
  return bindings;
}

TEST(ApplicationDefinitions, WindowsBindTheirVariablesInProcedureOrder) {
  struct ExpectedBindings {
    const char* resource;
    const char* label;
    std::vector<Bound> bindings;
  };
  constexpr uint8_t kByte = 1, kShort = 2, kLong = 6, kDecimal = 10, kString = 18, kText = 21,
                    kQueue = 25;
  std::vector<ExpectedBindings> expected = {
      // Title, start date, end date, type, format, speed, length, manufacturer, the
      // manufacturer choices, the notes memo, the compilation rows and the serial.
      {"REELB022_RSC",
       "UPDATEHTAPES$QUICKWINDOW",
       {{4, kString, 60},
        {6, kLong, 4},
        {8, kLong, 4},
        {10, kString, 10},
        {12, kString, 12},
        {13, kString, 3},
        {18, kString, 5},
        {20, kString, 20},
        {20, kQueue, 0},
        {22, kText, 1000},
        {23, kQueue, 0},
        {30, kShort, 2}}},
      {"REELB036_RSC", "SPLASH$WINDOW", {{2, kQueue, 0}}},
      {"REELB037_RSC", "ABOUT$WINDOW", {}},
      {"REELB001_RSC", "MAIN$APPFRAME", {}},
  };
  for (const ExpectedWindow& window : ApplicationWindows()) {
    std::string label = window.label;
    if (label.ends_with("$PROGRESSWINDOW")) {
      expected.push_back({window.resource, window.label, {{1, kByte, 1}}});
    } else if (label.starts_with("BROWSE") || label.starts_with("SELECT") ||
               label.starts_with("TREE")) {
      expected.push_back({window.resource, window.label, {{1, kQueue, 0}}});
    }
  }
  for (const ExpectedBindings& window : expected) {
    SCOPED_TRACE(window.label);
    const StructureRecord* structure = FindStructure(window.resource, window.label);
    ASSERT_NE(structure, nullptr);
    EXPECT_EQ(BindingsOf(*structure), window.bindings);
  }

  // The video form's looked-up subject and spun star rating bind the fields'
  // own types; its price is the packed decimal of two places.
  const StructureRecord* videoForm = FindStructure("REELB030_RSC", "UPDATEVIDEOS$QUICKWINDOW");
  ASSERT_NE(videoForm, nullptr);
  std::vector<Bound> bindings = BindingsOf(*videoForm);
  auto boundAt = [&](int32_t control) {
    for (const Bound& bound : bindings) {
      if (bound.control == control) return bound;
    }
    return Bound{control, 0, 0};
  };
  EXPECT_EQ(boundAt(38), (Bound{38, kString, 20}));
  EXPECT_EQ(boundAt(40), (Bound{40, kShort, 2}));
  EXPECT_EQ(std::count_if(bindings.begin(), bindings.end(),
                          [&](const Bound& bound) { return bound.type == kDecimal; }),
            1);
}

}  // namespace
}  // namespace rk
