#include <gtest/gtest.h>

#include <map>

#include "runtime/windows/definition_lookup.h"
#include "runtime/windows/definition_open.h"
#include "runtime/windows/definition_writer.h"
#include "tests/windows/sample_definitions.h"

namespace rk {
namespace {

// A module holding definition resources by upper-case name; names compare without
// regard to case.
ResourceModule ModuleOf(std::string name, std::map<std::string, std::vector<uint8_t>>& resources) {
  return {std::move(name),
          [&resources](std::string_view resource,
                       std::string_view type) -> std::optional<std::span<const uint8_t>> {
            std::string name(resource);
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            auto it = resources.find(name);
            if (type != "DABDUMP" || it == resources.end()) return std::nullopt;
            return std::span<const uint8_t>(it->second);
          }};
}

std::vector<uint8_t> ResourceWithTag(std::string tag, std::vector<StructureRecord> structures) {
  return WriteDefinitionResource(Definition{std::move(tag), std::move(structures)});
}

StructureRecord WindowLabelled(std::string label, std::string title) {
  StructureRecord window;
  window.label = std::move(label);
  window.title = std::move(title);
  return window;
}

class DefinitionLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterResourceModule(ModuleOf("first", first_));
    RegisterResourceModule(ModuleOf("second", second_));
  }
  void TearDown() override { ClearRegisteredResourceModules(); }

  std::string FoundTitle(std::string_view tag, std::string_view label) {
    DefinitionFailure failure;
    void* none = nullptr;
    std::optional<StructureRecord> s = LoadDefinition(tag, label, &none, failure);
    return s ? s->title : "error " + std::to_string(failure.error) + " " + failure.context;
  }

  std::map<std::string, std::vector<uint8_t>> first_;
  std::map<std::string, std::vector<uint8_t>> second_;
};

TEST_F(DefinitionLookup, TheProgramsOwnDefinitionsAreFound) {
  std::optional<FoundDefinition> found =
      FindDefinition("REELBASE.qvw$reelb_sf", "REPORTPREVIEW$JUMPWINDOW");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->module, "program");
  EXPECT_EQ(found->buffer[found->offset], static_cast<uint8_t>(RecordKind::kWindow));
  EXPECT_EQ(FoundTitle("REELBASE.qvw$reelb_sf", "REPORTPREVIEW$PREVIEWWINDOW"), "Print Preview");
}

TEST_F(DefinitionLookup, TagAndLabelMustBothMatch) {
  first_["A1_RSC"] = ResourceWithTag("ONE.qvw$a1", {WindowLabelled("P$W", "one")});
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$W"), "one");
  EXPECT_FALSE(FindDefinition("ONE.qvwa1", "P$W"));     // no "$"
  EXPECT_FALSE(FindDefinition("OTHER.qvw$a1", "P$W"));  // stored tag differs
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$MISSING"), "error 502 WSLDIAL");
  EXPECT_EQ(FoundTitle("ONE.qvw$a2", "P$W"), "error 502 WSLDIAL");
}

TEST_F(DefinitionLookup, ModulesAreSearchedInOrderUntilTagAndLabelMatch) {
  first_["A1_RSC"] = ResourceWithTag("OTHER.qvw$a1", {WindowLabelled("P$W", "wrong tag")});
  second_["A1_RSC"] = ResourceWithTag("ONE.qvw$a1", {WindowLabelled("P$W", "second")});
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$W"), "second");
  EXPECT_EQ(FindDefinition("ONE.qvw$a1", "P$W")->module, "second");

  first_["A1_RSC"] = ResourceWithTag("ONE.qvw$a1", {WindowLabelled("P$W", "first")});
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$W"), "first");

  first_["A1_RSC"] = ResourceWithTag("ONE.qvw$a1", {WindowLabelled("P$OTHER", "no label")});
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$W"), "second");
}

TEST_F(DefinitionLookup, ADamagedResourceIsPassedOverAndNamed) {
  first_["A1_RSC"] = ResourceWithTag("ONE.qvw$a1", {WindowLabelled("P$W", "damaged")});
  first_["A1_RSC"].resize(first_["A1_RSC"].size() - 20);
  std::string problem;
  EXPECT_FALSE(FindDefinition("ONE.qvw$a1", "P$W", &problem));
  EXPECT_NE(problem.find("A1_RSC"), std::string::npos);
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$W").rfind("error 502 WSLDIAL (A1_RSC: ", 0), 0u);

  second_["A1_RSC"] = ResourceWithTag("ONE.qvw$a1", {WindowLabelled("P$W", "intact")});
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$W"), "intact");

  // A label that is found gives the definition; damage below it is reported.
  StructureRecord window = WindowLabelled("P$W", "damaged controls");
  window.controls.resize(1);
  first_["A1_RSC"] = ResourceWithTag("ONE.qvw$a1", {window});
  first_["A1_RSC"].back() = 0;
  first_["A1_RSC"].resize(first_["A1_RSC"].size() - 9);
  EXPECT_EQ(FoundTitle("ONE.qvw$a1", "P$W").rfind("error 502 WSLDIAL (STRING at offset", 0), 0u);
}

TEST_F(DefinitionLookup, ADefinitionInMemoryNeedsNoResource) {
  std::vector<uint8_t> buffer = {0, 0};
  std::vector<uint8_t> blob = WriteDefinitionBlob({WindowLabelled("M$W", "in memory")});
  buffer.insert(buffer.end(), blob.begin(), blob.end());
  DefinitionFailure failure;
  void* none = nullptr;
  std::optional<StructureRecord> s = LoadDefinition(buffer, "M$W", &none, failure);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->title, "in memory");
  EXPECT_FALSE(LoadDefinition(buffer, "M$X", &none, failure));
  EXPECT_EQ(failure.error, 502);
}

TEST(DefinitionOpenDeathTest, AMissingDefinitionEndsTheProgramWithInternalError02) {
  void* none = nullptr;
  EXPECT_EXIT(OpenDefinition("REELBASE.qvw$reelb_sf", "NO$SUCHWINDOW", &none),
              ::testing::ExitedWithCode(2), "Runtime error: Internal error 02 : WSLDIAL");
}

}  // namespace
}  // namespace rk
