#include <gtest/gtest.h>

#include "runtime/windows/definition_flags.h"
#include "tools/defc/definition_source.h"

namespace rk {
namespace {

// A one-window source whose controls are `controls` (a JSON list).
std::string Source(const std::string& controls, const std::string& window = "") {
  return R"({"resource": "T1_RSC", "tag": "T.qvw$t1", "structures": [
    {"kind": "WINDOW", "label": "P$WINDOW", "at": [null, 5, 100, 50])" +
         window + R"(, "controls": )" + controls + "}]}";
}

std::string ErrorOf(const std::string& json, std::string_view file = "T1_RSC.json") {
  std::string error;
  EXPECT_FALSE(ParseDefinitionSource(json, file, error));
  return error;
}

TEST(DefinitionSource, ControlsAreNumberedKindsAndFieldsMapped) {
  std::string error;
  std::optional<DefinitionSource> source = ParseDefinitionSource(
      Source(R"([
        {"kind": "PROMPT", "text": "Caf\u00e9 \u20ac", "at": [1, 2, null, null]},
        {"kind": "LIST", "number": 7, "flags": ["VSCROLL", "HSCROLL", "IMM"], "drop": 5,
         "use": {"type": "STRING", "size": 20, "variable": "MAN:NAME"},
         "from": {"type": "QUEUE", "variable": "choices"}},
        {"kind": "LIST", "from": {"choices": "A|BB"}},
        {"kind": "OPTION", "use": {"type": "DECIMAL", "size": 3, "places": 2},
         "radios": [{"kind": "RADIO", "text": "x"}]}])",
             R"(, "units": "points", "flags": 16, "attributes": ["SYSMENU", "MDICHILD"])"),
      "T1_RSC.json", error);
  ASSERT_TRUE(source) << error;
  const StructureRecord& w = source->definition.structures[0];
  EXPECT_EQ(w.flags, 0x310);
  EXPECT_EQ(w.attributes, 0x1004);
  EXPECT_EQ(w.at, (Position{kNotGiven, 5, 100, 50}));
  ASSERT_EQ(w.controls.size(), 4u);
  EXPECT_EQ(w.controls[0].text, "Caf\xE9 \x80");
  EXPECT_EQ(w.controls[0].at, (Position{1, 2, kNotGiven, kNotGiven}));
  EXPECT_EQ(w.controls[0].number, 1);
  EXPECT_EQ(w.controls[1].number, 7);
  EXPECT_EQ(w.controls[1].flags, 0x803);
  EXPECT_EQ(w.controls[1].use->size, 20);
  EXPECT_EQ(w.controls[2].number, 3);  // its ordinal, whatever the others say
  EXPECT_EQ(w.controls[2].from->type, 18);
  EXPECT_EQ(w.controls[2].from->size, 4);
  EXPECT_EQ(w.controls[2].from->constantText, "A|BB");
  EXPECT_EQ(w.controls[3].use->places, 2);
  EXPECT_EQ(w.controls[3].use->size, 3);
  EXPECT_EQ(w.controls[3].children[0].number, 5);
  EXPECT_EQ(source->variables[0], (std::vector<std::string>{"MAN:NAME", "choices", ""}));
}

TEST(DefinitionSource, MistakesNameFileStructureControlAndProblem) {
  struct Case {
    std::string json;
    std::string expected;
  };
  const Case cases[] = {
      {Source(R"([{"kind": "BUTTON", "txt": "OK"}])"),
       "T1_RSC.json: P$WINDOW/control 1 (BUTTON): member \"txt\" does not belong to a BUTTON"},
      {Source(R"([{"kind": "PROMPT"}, {"kind": "TAB", "text": "t"}])"),
       "P$WINDOW/control 2 (TAB): TAB cannot stand in WINDOW"},
      {Source(R"([{"kind": "PROMPT", "number": 4}, {"kind": "ENTRY", "number": 4}])"),
       "control 4 (ENTRY): number 4 is used twice"},
      {Source(R"([{"kind": "ENTRY", "picture": "@s20"}])"), "leading \"@\""},
      {Source(R"([{"kind": "ENTRY", "use": {"type": "ARRAY", "size": 4}}])"),
       "control 1 (ENTRY)/use: unknown type \"ARRAY\""},
      {Source(R"([{"kind": "ENTRY", "use": {"type": "STRING"}}])"), "a STRING needs a \"size\""},
      {Source(R"([{"kind": "ENTRY", "use": {"type": "STRING", "size": 0}}])"),
       "member \"size\" must be 1..65535"},
      {Source(R"([{"kind": "ENTRY", "use": {"type": "LONG", "size": 2}}])"), "a LONG has size 4"},
      {Source(R"([{"kind": "LIST", "drop": 300}])"), "member \"drop\" must be 0..255"},
      {Source(R"([{"kind": "PROMPT", "text": "\u0416"}])"), "character U+0416 has no ANSI code"},
      {Source(R"([{"kind": "GADGET"}])"), "unknown control kind \"GADGET\""},
      {Source("[]", R"(, "flags": 512)"), "unit bits 0x300"},
      {Source("[]", R"(, "at": [1, 2, 3])"), "\"at\" must be a list of four places"},
      {Source("[]", R"(, "attributes": ["SHINY"])"), "unknown name \"SHINY\""},
      {R"({"resource": "T2_RSC", "tag": "T.qvw$t1", "structures": []})",
       "resource \"T2_RSC\" does not match tag"},
      {R"({"resource": "T1_RSC", "tag": "T.qvw$t1", "structures": [{"kind": "WINDOW", "label": "p$w"}]})",
       "label must be upper case"},
      {R"({"resource": "T1_RSC", "tag": "T.qvw$t1", "structures": [{"kind": "WINDOW", "label": "P$W"},
          {"kind": "REPORT", "label": "P$W"}]})",
       "label \"P$W\" appears twice"},
      {"{\"resource\": ", "T1_RSC.json: [json.exception.parse_error"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(ErrorOf(c.json).find(c.expected), std::string::npos)
        << "expected \"" << c.expected << "\" in \"" << ErrorOf(c.json) << "\"";
  }
  EXPECT_NE(ErrorOf(Source("[]"), "dir/OTHER_RSC.json").find("file name does not match"),
            std::string::npos);
}

TEST(DefinitionSource, ReportsCarryBandsBreaksAndPaper) {
  std::string error;
  std::optional<DefinitionSource> source = ParseDefinitionSource(
      R"({"resource": "R_RSC", "tag": "T.qvw$r", "structures": [
        {"kind": "REPORT", "label": "P$REPORT", "landscape": true, "paper": {"size": 9},
         "font": {"face": "Arial", "size": 10},
         "bands": [
           {"kind": "HEADER", "at": [1000, 1000, 6000, 1000],
            "controls": [{"kind": "STRING", "text": "TITLE"}]},
           {"kind": "BREAK", "use": {"type": "LONG", "variable": "HTA:SERIAL"}, "bands": [
             {"kind": "DETAIL", "at": [null, null, null, 1906],
              "controls": [{"kind": "USESTRING", "use": {"type": "LONG", "variable": "ITE:SERIAL"},
                            "picture": "n06"}]}]}]}]})",
      "R_RSC.json", error);
  ASSERT_TRUE(source) << error;
  const StructureRecord& r = source->definition.structures[0];
  EXPECT_EQ(r.flags, 0x201);
  EXPECT_EQ(r.paper, (PaperRecord{9, 0, 0}));
  ASSERT_EQ(r.bands.size(), 2u);
  EXPECT_EQ(r.bands[1].kind, RecordKind::kBreak);
  EXPECT_EQ(r.bands[1].bands[0].controls[0].number, 2);
  EXPECT_EQ(source->variables[0], (std::vector<std::string>{"HTA:SERIAL", "ITE:SERIAL"}));

  EXPECT_NE(ErrorOf(R"({"resource": "R_RSC", "tag": "T.qvw$r", "structures": [
        {"kind": "REPORT", "label": "P$REPORT", "bands": [{"kind": "BREAK"}]}]})",
                    "R_RSC.json")
                .find("P$REPORT/band 1: a BREAK needs its \"use\" variable"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"resource": "R_RSC", "tag": "T.qvw$r", "structures": [
        {"kind": "REPORT", "label": "P$REPORT", "paper": {"size": 256}}]})",
                    "R_RSC.json")
                .find("paper size 256"),
            std::string::npos);
}

}  // namespace
}  // namespace rk
