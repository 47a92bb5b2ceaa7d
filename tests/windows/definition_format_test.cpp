#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "resources/resource_table.h"
#include "runtime/windows/definition_reader.h"
#include "runtime/windows/definition_writer.h"
#include "tests/windows/sample_definitions.h"
#include "tools/defc/definition_source.h"

namespace rk {
namespace {

int32_t Int32At(const std::vector<uint8_t>& buffer, int32_t at) {
  uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | buffer.at(at + i);
  return static_cast<int32_t>(bits);
}

std::string StringAt(const std::vector<uint8_t>& buffer, int32_t at) {
  return reinterpret_cast<const char*>(&buffer.at(at));
}

std::vector<uint8_t> BufferOf(const Definition& definition) {
  std::vector<uint8_t> buffer = {0, 0};
  std::vector<uint8_t> blob = WriteDefinitionBlob(definition.structures);
  buffer.insert(buffer.end(), blob.begin(), blob.end());
  return buffer;
}

TEST(DefinitionFormat, EveryKindReadsBackAsWritten) {
  Definition original = testing::RichDefinition();
  std::vector<uint8_t> resource = WriteDefinitionResource(original);
  std::string error;
  std::optional<Definition> read = ReadDefinitionResource(resource, error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(*read, original);
  EXPECT_EQ(read->structures[0].controls[0].children[0].children[2].from->constantText,
            "VHS|SVHS|VHSC|BETAMAX|8mm|Hi 8mm|OTHER");
}

// Found by fuzzing: a drop list's FROM with an empty constant text is a list of
// fixed choices without any, and must not come back as one without choices.
TEST(DefinitionFormat, AnEmptyConstantTextReadsBackAsConstantText) {
  Definition original = testing::RichDefinition();
  std::optional<DataDescriptor>& from =
      original.structures[0].controls[0].children[0].children[2].from;
  ASSERT_TRUE(from);
  from->constantText = "";
  std::string error;
  std::optional<Definition> read = ReadDefinitionResource(WriteDefinitionResource(original), error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->structures[0].controls[0].children[0].children[2].from->constantText,
            std::optional<std::string>(""));
  EXPECT_EQ(*read, original);
}

// Fields sit where the runtime's other readers expect them, not merely where this
// writer and reader agree to put them.
TEST(DefinitionFormat, FieldsSitAtTheirStoredOffsets) {
  std::vector<uint8_t> buffer = BufferOf(testing::RichDefinition());
  EXPECT_EQ(buffer[0] | buffer[1], 0);
  int32_t window = Int32At(buffer, 2);
  EXPECT_EQ(buffer[window], 25);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, window + 0x21)), "UPDATESAMPLE$WINDOW");
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, window + 0x29)), "SAMPLE FORM");
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, window + 0x41)), "UpdateSample");
  EXPECT_EQ(Int32At(buffer, window + 0x0D), kNotGiven);
  EXPECT_EQ(Int32At(buffer, window + 0x19), 178);
  EXPECT_EQ(Int32At(buffer, window + 0x4D), 0x3804);
  EXPECT_EQ(Int32At(buffer, window + 0x55), 1);
  int32_t font = Int32At(buffer, window + 0x25);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, font)), "MS Sans Serif");
  EXPECT_EQ(Int32At(buffer, font + 4), 8);
  EXPECT_EQ(Int32At(buffer, font + 12), -1);
  int32_t node = Int32At(buffer, window + 0x65);
  EXPECT_EQ(Int32At(buffer, node), -1);
  EXPECT_EQ(Int32At(buffer, Int32At(buffer, node + 4)), 0x50);

  int32_t menubar = Int32At(buffer, window + 0x59);
  EXPECT_EQ(buffer[menubar], 22);
  int32_t fileMenu = Int32At(buffer, menubar + 0x0D);
  EXPECT_EQ(buffer[fileMenu], 19);
  int32_t printSetup = Int32At(buffer, fileMenu + 0x35);
  EXPECT_EQ(buffer[printSetup], 20);
  EXPECT_EQ(Int32At(buffer, printSetup + 0x0D), -1);
  EXPECT_EQ(Int32At(buffer, printSetup + 0x31), 16);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, printSetup + 0x19)), "&Print Setup ...");
  int32_t separator = Int32At(buffer, printSetup + 1);
  EXPECT_EQ(Int32At(buffer, separator + 5), 0x10);

  int32_t sheet = Int32At(buffer, window + 0x1D);
  EXPECT_EQ(buffer[sheet], 37);
  EXPECT_EQ(Int32At(buffer, sheet + 0x0D), 1);
  EXPECT_EQ(Int32At(buffer, sheet + 0x15), 0);  // no USE
  EXPECT_EQ(Int32At(buffer, sheet + 0x19), 4);  // layout B: position after the descriptor
  int32_t tab = Int32At(buffer, sheet + 0x49);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, tab + 0x2A)), "General");
  int32_t prompt = Int32At(buffer, tab + 0x32);
  EXPECT_EQ(Int32At(buffer, prompt + 0x15), 8);  // layout A
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, prompt + 0x29)), "TITLE:");
  int32_t entry = Int32At(buffer, prompt + 1);
  int32_t use = Int32At(buffer, entry + 0x15);
  EXPECT_EQ(buffer[use], 18);
  EXPECT_EQ(Int32At(buffer, use + 1), 60);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, entry + 0x45)), "s60");
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, entry + 0x29)), "TITLE OR DESCRIPTION");
  int32_t drop = Int32At(buffer, entry + 1);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, drop + 0x19)), "40L@s10@");
  EXPECT_EQ(Int32At(buffer, drop + 0x1D), 50);
  EXPECT_EQ(buffer[drop + 0x49], 5);
  int32_t from = Int32At(buffer, drop + 0x4E);
  EXPECT_EQ(Int32At(buffer, from + 1), 38);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, from + 5)), "VHS|SVHS|VHSC|BETAMAX|8mm|Hi 8mm|OTHER");
  int32_t option = Int32At(buffer, drop + 1);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, option + 0x45)), "SPEED");
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, Int32At(buffer, option + 0x49) + 0x41)), "SP");
  int32_t ok = Int32At(buffer, sheet + 1);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, ok + 0x25)), "Accept");
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, ok + 0x29)), "Save the record");
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, ok + 0x41)), "OK");

  int32_t report = Int32At(buffer, window + 1);
  EXPECT_EQ(buffer[report], 26);
  EXPECT_EQ(Int32At(buffer, report + 5), 0x201);
  EXPECT_EQ(Int32At(buffer, report + 0x19), 8479);
  EXPECT_EQ(StringAt(buffer, Int32At(buffer, report + 0x29)), "SAMPLE REPORT");
  int32_t paper = Int32At(buffer, report + 0x2D);
  EXPECT_EQ(buffer[paper], 46);
  EXPECT_EQ(buffer[paper + 5] | buffer[paper + 6] << 8, 256);
  EXPECT_EQ(buffer[paper + 9] | buffer[paper + 10] << 8, 2970);
  int32_t header = Int32At(buffer, report + 0x1D);
  EXPECT_EQ(buffer[header], 27);
  EXPECT_EQ(Int32At(buffer, header + 0x29), 1000);
  int32_t group = Int32At(buffer, header + 1);
  EXPECT_EQ(buffer[group], 29);
  EXPECT_EQ(buffer[Int32At(buffer, group + 0x11)], 6);
  EXPECT_EQ(buffer[Int32At(buffer, group + 0x0D)], 27);
}

// Every definition source of the application compiles, reads back as the same
// tree, and is embedded exactly as compiled.
TEST(DefinitionFormat, ApplicationSourcesRoundTripAndAreEmbedded) {
  std::filesystem::path folder =
      std::filesystem::path(RK_TEST_SOURCE_DIR) / "resources" / "definitions";
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".json") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++count;
    std::string error;
    std::optional<DefinitionSource> source = LoadDefinitionSource(entry.path(), error);
    ASSERT_TRUE(source) << error;
    std::vector<uint8_t> compiled = WriteDefinitionResource(source->definition);
    std::optional<Definition> read = ReadDefinitionResource(compiled, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(*read, source->definition);
    std::optional<std::span<const uint8_t>> embedded =
        FindResource(entry.path().stem().string(), "DABDUMP");
    ASSERT_TRUE(embedded);
    EXPECT_TRUE(std::ranges::equal(*embedded, compiled));
  }
  EXPECT_GT(count, 0);
}

TEST(DefinitionFormat, IconsAreEmbeddedByFileName) {
  for (const char* name : {"ACT2.ICO", "ACTOR1.ICO", "VIDEO.ICO"}) {
    std::optional<std::span<const uint8_t>> icon = FindResource(name, "ICON");
    ASSERT_TRUE(icon) << name;
    ASSERT_GE(icon->size(), 6u);
    EXPECT_EQ((*icon)[2], 1);  // icon file type
  }
  EXPECT_TRUE(FindResource("video.ico", "icon"));
  EXPECT_FALSE(FindResource("README.TXT", "ICON"));
  EXPECT_FALSE(FindResource("VIDEO.ICO", "DABDUMP"));
}

}  // namespace
}  // namespace rk
