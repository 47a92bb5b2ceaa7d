// Runs the built rkcalc end to end.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/process_temp_dir.h"
namespace {

// The build folder, compiled into every test program.
std::string BinaryDir() {
  return RK_TEST_BINARY_DIR;
}

std::string Rkcalc() {
  return BinaryDir() + "/tools/rkcalc/rkcalc";
}

struct Outcome {
  int status = -1;
  std::string out;
};

// The command line is built from literals of this file only.
Outcome Shell(const std::string& command) {
  Outcome run;
  FILE* pipe = popen(("LC_ALL=C " + command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return run;
  std::array<char, 512> buffer;
  size_t got = 0;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), got);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(RkcalcTest, FormatAndDeformatFromTheCommandLine) {
  Outcome run = Shell(Rkcalc() + " format @D4 70865");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "January  5, 1995     \n");
  run = Shell(Rkcalc() + " deformat @D1 ' 1/05/95'");
  EXPECT_EQ(run.out, "70865\n");
  run = Shell(Rkcalc() + " format @N-10.2 -1234.5");
  EXPECT_EQ(run.out, " -1,234.50\n");
}

TEST(RkcalcTest, BatchPrintsOneJsonLiteralPerLine) {
  std::string input =
      "format\t@T3\t4710001\\n"
      "deformat\t@N$10.2\t    $12.50\\n"
      "format\t@S3\ta\"b\\n"
      "nosuch\tx\\n"
      "format\t@X1\t5\\n"
      "format\t@D1\\n";
  Outcome run = Shell("printf '" + input + "' | " + Rkcalc() + " --batch");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "\" 1:05PM\"\n"
            "\"0012.50\"\n"
            "\"a\\\"b\"\n"
            "null\n"
            "\"\"\n"
            "null\n");
}

TEST(RkcalcTest, EnvironmentFileChangesNames) {
  std::string path = rk::testing::ProcessTempDir::File("rkcalc_test.env");
  std::ofstream(path) << "QVNMONTH=Januar,Februar\nQVNAMPM=vm,nm\n";
  Outcome run = Shell(Rkcalc() + " --env " + path + " format @D4 70865");
  EXPECT_EQ(run.out, "Januar  5, 1995      \n");
  run = Shell(Rkcalc() + " --env " + path + " format @T3 4710001");
  EXPECT_EQ(run.out, " 1:05nm\n");
}

TEST(RkcalcTest, EvalPrintsTheValueOrTheError) {
  Outcome run = Shell(Rkcalc() + " eval \"2 ^ 3 ^ 2 & ' x'\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "64 x\n");
  run = Shell(Rkcalc() + " eval \"FORMAT(1234.5, @N10.2)\"");
  EXPECT_EQ(run.out, "  1,234.50\n");
  run = Shell("sh -c '" + Rkcalc() + " eval NOSUCH 2>&1'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "801 No BIND on variable\n");
  run = Shell("sh -c '" + Rkcalc() + " eval 1+ 2>&1'");
  EXPECT_EQ(run.out, "800 Invalid expression for EVALUATE\n");

  std::string input =
      "eval\tUPPER(SUB(\\047abcde\\047, 2, 3))\\n"
      "eval\t1 +\\n"
      "eval\tCHR(34) & 10H\\n";
  run = Shell("printf '" + input + "' | " + Rkcalc() + " --batch");
  EXPECT_EQ(run.out, "\"BCD\"\nnull\n\"\\\"16\"\n");
}

TEST(RkcalcTest, BadUseIsRefused) {
  EXPECT_EQ(Shell(Rkcalc()).status, 2);
  EXPECT_EQ(Shell(Rkcalc() + " format @D1").status, 2);
  EXPECT_EQ(Shell(Rkcalc() + " nosuch 1 2").status, 2);
  EXPECT_EQ(Shell(Rkcalc() + " --env /nonexistent/x.env format @D1 4").status, 2);
}

}  // namespace
