// rkseed and kmftool run end to end from the build tree: seeded files check,
// describe, dump, export and import as they should, and damage is reported.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kCollection[] = {"HTAPES.KMF", "ITEMS.KMF",   "VIDEOS.KMF",
                                   "CAST.KMF",   "SUBJECT.KMF", "MANUFACTURER.KMF"};

struct Output {
  int exitCode = -1;
  std::string text;  // standard output only
};

// The command line is built from this file's literals and temporary paths.
Output RunCommand(const std::string& command) {
  Output output;
  FILE* pipe = popen(("LC_ALL=C " + command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return output;
  std::array<char, 4096> buffer;
  for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
    output.text.append(buffer.data(), n);
  int status = pclose(pipe);
  output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class KmfToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("rk_tools_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ASSERT_TRUE(fs::exists(kmftool_)) << "build kmftool first: " << kmftool_;
    ASSERT_TRUE(fs::exists(rkseed_)) << "build rkseed first: " << rkseed_;
  }
  void TearDown() override { fs::remove_all(dir_); }

  Output Seed(const fs::path& into, const std::string& options) {
    fs::create_directories(into);
    return RunCommand(rkseed_ + " " + into.string() + " " + options);
  }
  Output Tool(const std::string& arguments) { return RunCommand(kmftool_ + " " + arguments); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  const std::string kmftool_ = std::string(RK_TEST_BINARY_DIR) + "/tools/kmftool/kmftool";
  const std::string rkseed_ = std::string(RK_TEST_BINARY_DIR) + "/tools/rkseed/rkseed";
  fs::path dir_;
};

TEST_F(KmfToolsTest, SeededCollectionChecksDescribesAndDumps) {
  ASSERT_EQ(Seed(dir_, "--tapes 7 --items-per-tape 3 --videos 4 --cast-per-video 2").exitCode, 0);
  for (const char* name : kCollection) {
    Output check = Tool("check " + File(name));
    EXPECT_EQ(check.exitCode, 0) << name << "\n" << check.text;
    EXPECT_EQ(Lines(check.text).size(), 1u) << check.text;  // the summary line only
  }

  Output info = Tool("info " + File("HTAPES.KMF"));
  ASSERT_EQ(info.exitCode, 0);
  EXPECT_TRUE(Contains(info.text, "signature kElD\n")) << info.text;
  EXPECT_TRUE(Contains(info.text, "table UNNAMED: number 1, 7 records")) << info.text;
  EXPECT_TRUE(Contains(info.text, ": 7 entries\n")) << info.text;
  EXPECT_TRUE(Contains(Tool("info " + File("ITEMS.KMF")).text, ", 21 records"));
  EXPECT_TRUE(Contains(Tool("info " + File("CAST")).text, ", 8 records"));  // .KMF added

  struct Expected {
    const char* name;
    size_t records;
  };
  for (Expected expected : {Expected{"HTAPES.KMF", 7}, Expected{"ITEMS.KMF", 21},
                            Expected{"VIDEOS.KMF", 4}, Expected{"CAST.KMF", 8}}) {
    Output dump = Tool("dump " + File(expected.name));
    ASSERT_EQ(dump.exitCode, 0) << expected.name;
    std::vector<std::string> lines = Lines(dump.text);
    EXPECT_EQ(lines.size(), expected.records) << expected.name;
    for (const std::string& line : lines) {
      EXPECT_EQ(line.rfind("{\"record\": ", 0), 0u) << line;
      EXPECT_TRUE(Contains(line, "\"fields\": {") && line.back() == '}') << line;
    }
  }
}

TEST_F(KmfToolsTest, TapesOnlySeedsTheSameTapesAgainAndNothingElse) {
  ASSERT_EQ(Seed(dir_ / "a", "--tapes 9 --tapes-only").exitCode, 0);
  ASSERT_EQ(Seed(dir_ / "b", "--tapes-only --tapes 9").exitCode, 0);
  ASSERT_EQ(Seed(dir_ / "c", "--tapes 9 --tapes-only --seed 2").exitCode, 0);
  EXPECT_TRUE(Contains(Tool("info " + File("a/HTAPES.KMF")).text, ", 9 records"));
  for (const char* name : {"a/ITEMS.KMF", "a/VIDEOS.KMF", "a/CAST.KMF"})
    EXPECT_TRUE(Contains(Tool("info " + File(name)).text, ", 0 records")) << name;
  EXPECT_TRUE(Contains(Tool("info " + File("a/SUBJECT.KMF")).text, ", 20 records"));

  std::string tapes = Tool("dump " + File("a/HTAPES.KMF")).text;
  EXPECT_EQ(Lines(tapes).size(), 9u);
  EXPECT_EQ(Tool("dump " + File("b/HTAPES.KMF")).text, tapes);
  EXPECT_NE(Tool("dump " + File("c/HTAPES.KMF")).text, tapes);
}

// A SHORT serial ends at 32767: the tapes past it have serial 0 and no entry in
// the unique serial key, and items are made for the numbered tapes only.
TEST_F(KmfToolsTest, TapesPastTheLastSerialAreSeededWithoutOne) {
  ASSERT_EQ(Seed(dir_, "--tapes 32769 --items-per-tape 1 --videos 0").exitCode, 0);
  for (const char* name : {"HTAPES.KMF", "ITEMS.KMF"}) {
    Output check = Tool("check " + File(name));
    EXPECT_EQ(check.exitCode, 0) << name << "\n" << check.text;
  }
  std::string info = Tool("info " + File("HTAPES.KMF")).text;
  EXPECT_TRUE(Contains(info, ", 32769 records")) << info;
  EXPECT_TRUE(Contains(info, "key HTA:SERIAL_NO: 32767 entries")) << info;
  EXPECT_TRUE(Contains(info, "key HTA:DESCRIPTION: 32769 entries")) << info;
  EXPECT_TRUE(Contains(Tool("info " + File("ITEMS.KMF")).text, ", 32767 records"));

  Output tail = RunCommand(kmftool_ + " dump " + File("HTAPES.KMF") + " | tail -1");
  EXPECT_TRUE(Contains(tail.text, "\"HTA:SERIAL\": 0,")) << tail.text;
}

TEST_F(KmfToolsTest, SeedOptionsAreExplainedAndBadOnesRefused) {
  Output help = RunCommand(rkseed_ + " --help");
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--tapes N", "--items-per-tape M", "--videos V", "--cast-per-video C",
                             "--tapes-only", "--seed S"})
    EXPECT_TRUE(Contains(help.text, option)) << option;

  const std::string dir = dir_.string();
  for (const std::string& arguments :
       {std::string(), std::string("--tapes 3"), dir + " --tapes", dir + " --tapes x",
        dir + " --tapes -1", dir + " --tapes 5000001", dir + " --videos 32768",
        dir + " --colour red"}) {
    EXPECT_EQ(RunCommand(rkseed_ + " " + arguments).exitCode, 2) << arguments;
  }
  EXPECT_FALSE(fs::exists(dir_ / "HTAPES.KMF"));
}

TEST_F(KmfToolsTest, ExportedRowsImportIntoAnEmptiedCopyAndThenAsDuplicates) {
  ASSERT_EQ(Seed(dir_, "--tapes 5 --items-per-tape 2 --videos 2 --cast-per-video 3").exitCode, 0);
  Output csv = Tool("export " + File("HTAPES.KMF") + " --csv");
  ASSERT_EQ(csv.exitCode, 0);
  ASSERT_EQ(Lines(csv.text).size(), 6u);  // the header and five rows
  std::ofstream(File("tapes.csv")) << csv.text;

  // An emptied copy: the same collection seeded without tapes.
  fs::path empty = dir_ / "empty";
  ASSERT_EQ(Seed(empty, "--tapes 0 --videos 0").exitCode, 0);
  std::string emptied = (empty / "HTAPES.KMF").string();
  ASSERT_TRUE(Contains(Tool("info " + emptied).text, ", 0 records"));
  Output imported = Tool("import " + emptied + " --csv " + File("tapes.csv"));
  EXPECT_EQ(imported.exitCode, 0);
  EXPECT_TRUE(Contains(imported.text, "5 added, 0 duplicates")) << imported.text;
  EXPECT_EQ(Tool("export " + emptied + " --csv").text, csv.text);
  EXPECT_EQ(Tool("check " + emptied).exitCode, 0);

  imported = Tool("import " + emptied + " --csv " + File("tapes.csv"));
  EXPECT_EQ(imported.exitCode, 0);
  EXPECT_TRUE(Contains(imported.text, "0 added, 5 duplicates")) << imported.text;
  EXPECT_TRUE(Contains(imported.text, "row 2: duplicate key, not added")) << imported.text;
  EXPECT_TRUE(Contains(Tool("info " + emptied).text, ", 5 records"));
}

TEST_F(KmfToolsTest, HelpListsEveryCommandOnStandardOutput) {
  Output help = Tool("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.text, "usage: kmftool COMMAND ARGUMENTS...")) << help.text;
  for (const char* command : {"check FILE", "info FILE", "dump FILE", "export FILE", "import FILE"})
    EXPECT_TRUE(Contains(help.text, command)) << command;
  // Asked for by mistake, the usage is an error and goes to standard error.
  Output wrong = Tool("--hlep");
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_EQ(wrong.text, "");
}

TEST_F(KmfToolsTest, DamageAndBadArgumentsAreRefused) {
  ASSERT_EQ(Seed(dir_, "--tapes 3 --items-per-tape 1 --videos 1 --cast-per-video 1").exitCode, 0);
  EXPECT_EQ(Tool("").exitCode, 2);
  EXPECT_EQ(Tool("info").exitCode, 2);
  EXPECT_EQ(Tool("nosuch " + File("HTAPES.KMF")).exitCode, 2);
  EXPECT_EQ(Tool("info " + File("MISSING.KMF")).exitCode, 1);
  EXPECT_EQ(Tool("check " + File("MISSING.KMF")).exitCode, 1);

  // A damaged signature: one problem, one line, and nothing else.
  fs::copy(dir_ / "HTAPES.KMF", dir_ / "SIGNATURE.KMF");
  {
    std::fstream file(File("SIGNATURE.KMF"), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(0x0E);
    file.write("XXXX", 4);
  }
  Output check = Tool("check " + File("SIGNATURE.KMF"));
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(Lines(check.text), std::vector<std::string>{"header lacks the signature"});
  EXPECT_EQ(Tool("info " + File("SIGNATURE.KMF")).exitCode, 1);

  // Two damaged places: the header's recorded end and a page's padding.
  fs::copy(dir_ / "HTAPES.KMF", dir_ / "PAGES.KMF");
  auto size = fs::file_size(dir_ / "PAGES.KMF");
  {
    std::fstream file(File("PAGES.KMF"), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(size - 1));  // the last page ends in padding
    file.put('\x01');
    uint32_t wrongEnd = static_cast<uint32_t>(size + 256);
    file.seekp(0x06);
    file.write(reinterpret_cast<const char*>(&wrongEnd), 4);
    file.seekp(0x0A);
    file.write(reinterpret_cast<const char*>(&wrongEnd), 4);
  }
  check = Tool("check " + File("PAGES.KMF"));
  EXPECT_EQ(check.exitCode, 1);
  std::vector<std::string> lines = Lines(check.text);
  ASSERT_EQ(lines.size(), 2u) << check.text;
  EXPECT_EQ(lines[0], "recorded end is not the end of the used ranges");
  EXPECT_TRUE(Contains(lines[1], "padding is not 0xB0")) << lines[1];
}

}  // namespace
