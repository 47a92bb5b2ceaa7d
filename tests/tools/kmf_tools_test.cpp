// End to end: rkseed makes the collection through the driver; kmftool reads it
// back from the stored table definitions alone, exports it and imports it again.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace rk {
namespace {

namespace fs = std::filesystem;

struct Output {
  int exitCode = -1;
  std::string text;
};

// Runs a command line with standard output captured.
Output RunCommand(const std::string& command) {
  Output output;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
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

class KmfToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* binary = std::getenv("RK_BINARY_DIR");
    ASSERT_NE(binary, nullptr);
    rkseed = std::string(binary) + "/tools/rkseed/rkseed";
    kmftool = std::string(binary) + "/tools/kmftool/kmftool";
    dir = fs::temp_directory_path() / ("rk_tools_test_" + std::to_string(getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  Output Seed(const fs::path& into, const std::string& options) {
    fs::create_directories(into);
    return RunCommand(rkseed + " " + into.string() + " " + options);
  }
  Output Tool(const std::string& arguments) { return RunCommand(kmftool + " " + arguments); }
  std::string File(const char* name) { return (dir / name).string(); }

  std::string rkseed, kmftool;
  fs::path dir;
};

TEST_F(KmfToolsTest, SeededFilesDumpRecordByRecordAndAreDeterministic) {
  ASSERT_EQ(
      Seed(dir, "--tapes 7 --items-per-tape 3 --videos 4 --cast-per-video 2 --seed 5").exitCode, 0);
  for (const char* name :
       {"HTAPES.KMF", "ITEMS.KMF", "VIDEOS.KMF", "CAST.KMF", "SUBJECT.KMF", "MANUFACTURER.KMF"}) {
    EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_EQ(Tool("check " + File(name)).exitCode, 0) << name;
  }

  Output tapes = Tool("dump " + File("HTAPES.KMF"));
  ASSERT_EQ(tapes.exitCode, 0);
  std::vector<std::string> lines = Lines(tapes.text);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0].rfind("{\"record\": ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("\"fields\": {\"HTA:SERIAL\": 1, \"HTA:TITLE\": \""), std::string::npos)
      << lines[0];
  EXPECT_NE(lines[0].find("\"memos\": {\"HTA:NOTES\": "), std::string::npos) << lines[0];
  EXPECT_EQ(Lines(Tool("dump " + File("ITEMS.KMF")).text).size(), 21u);
  EXPECT_EQ(Lines(Tool("dump " + File("CAST.KMF")).text).size(), 8u);

  fs::path again = dir / "again";
  ASSERT_EQ(
      Seed(again, "--tapes 7 --items-per-tape 3 --videos 4 --cast-per-video 2 --seed 5").exitCode,
      0);
  EXPECT_EQ(Tool("dump " + (again / "VIDEOS.KMF").string()).text,
            Tool("dump " + File("VIDEOS.KMF")).text);
  fs::path other = dir / "other";
  ASSERT_EQ(
      Seed(other, "--tapes 7 --items-per-tape 3 --videos 4 --cast-per-video 2 --seed 6").exitCode,
      0);
  EXPECT_NE(Tool("dump " + (other / "VIDEOS.KMF").string()).text,
            Tool("dump " + File("VIDEOS.KMF")).text);
}

TEST_F(KmfToolsTest, ExportedRowsImportBackWithDuplicatesReported) {
  ASSERT_EQ(Seed(dir, "--tapes 5 --items-per-tape 2 --videos 2 --cast-per-video 3").exitCode, 0);
  Output csv = Tool("export " + File("HTAPES.KMF") + " --csv");
  ASSERT_EQ(csv.exitCode, 0);
  std::vector<std::string> rows = Lines(csv.text);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0].rfind("HTA:SERIAL,HTA:TITLE,HTA:START_DATE,", 0), 0u) << rows[0];
  EXPECT_NE(rows[0].find(",HTA:NOTES"), std::string::npos);
  std::ofstream(dir / "tapes.csv") << csv.text;

  // Every serial is already there: the unique key refuses all five.
  Output imported = Tool("import " + File("HTAPES.KMF") + " --csv " + File("tapes.csv"));
  EXPECT_EQ(imported.exitCode, 0);
  EXPECT_NE(imported.text.find("0 added, 5 duplicates"), std::string::npos) << imported.text;
  EXPECT_NE(imported.text.find("row 2: duplicate key"), std::string::npos) << imported.text;

  // The cast file allows duplicates: the rows come in a second time, unchanged.
  std::ofstream(dir / "cast.csv") << Tool("export " + File("CAST.KMF") + " --csv").text;
  imported = Tool("import " + File("CAST.KMF") + " --csv " + File("cast.csv"));
  EXPECT_NE(imported.text.find("6 added, 0 duplicates"), std::string::npos) << imported.text;
  std::vector<std::string> after = Lines(Tool("export " + File("CAST.KMF") + " --csv").text);
  ASSERT_EQ(after.size(), 13u);
  EXPECT_EQ(after[7], after[1]);
  EXPECT_EQ(Tool("check " + File("CAST.KMF")).exitCode, 0);
}

TEST_F(KmfToolsTest, BadInputGetsAClearRefusal) {
  EXPECT_EQ(Seed(dir, "--tapes many").exitCode, 2);
  EXPECT_EQ(Tool("dump " + File("MISSING.KMF")).exitCode, 1);
  std::ofstream(dir / "JUNK.KMF") << std::string(2048, 'x');
  EXPECT_EQ(Tool("dump " + File("JUNK.KMF")).exitCode, 1);

  ASSERT_EQ(Seed(dir, "--tapes 1 --items-per-tape 1 --videos 1 --cast-per-video 1").exitCode, 0);
  std::ofstream(dir / "bad.csv") << "SUB:SUBJECT,SUB:NO_SUCH_FIELD\nx,y\n";
  EXPECT_EQ(Tool("import " + File("SUBJECT.KMF") + " --csv " + File("bad.csv")).exitCode, 1);
  std::ofstream(dir / "open.csv") << "SUB:SUBJECT\n\"never closed\n";
  EXPECT_EQ(Tool("import " + File("SUBJECT.KMF") + " --csv " + File("open.csv")).exitCode, 1);
  EXPECT_EQ(Lines(Tool("dump " + File("SUBJECT.KMF")).text).size(), 20u) << "nothing was added";
}

}  // namespace
}  // namespace rk
