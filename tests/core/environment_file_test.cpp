#include "runtime/core/environment_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "runtime/core/calendar_names.h"
#include "runtime/core/collation.h"
#include "runtime/core/day_number.h"
#include "runtime/core/error_state.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/time_value.h"
#include "runtime/platform/code_page.h"

#include "tests/support/process_temp_dir.h"
namespace rk {
namespace {

class EnvironmentFileTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    ResetCalendarNames();
    ResetCharacterSets();
    ClearMessageOverrides();
    ClearError();
  }

  std::string WriteFile(const std::string& name, const std::string& text) {
    std::string path = testing::ProcessTempDir::File(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  static void Apply(const std::string& text) {
    ApplyEnvironmentSettings(ParseEnvironmentText(text));
  }
};

std::string Oct3(const char* picture) {
  return FormatText(std::to_string(DateToDay(1995, 10, 3)), picture);
}

TEST_F(EnvironmentFileTest, LinesBecomeSettings) {
  auto settings = ParseEnvironmentText(
      "QVN MONTH = a,b  \t\r\n\r\nno equals sign\n=orphan\nQVNMSG801=x\x1AQVNMON=after end\n");
  ASSERT_EQ(settings.size(), 2u);
  EXPECT_EQ(settings[0].key, "QVNMONTH");
  EXPECT_EQ(settings[0].value, " a,b");
  EXPECT_EQ(settings[1].key, "QVNMSG801");
  EXPECT_EQ(settings[1].value, "x");

  auto cut = ParseEnvironmentText(std::string(40, 'K') + "=" + std::string(300, 'v') + "  ");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].key.size(), kMaxEnvironmentKey);
  EXPECT_EQ(cut[0].value, std::string(255, 'v'));
}

TEST_F(EnvironmentFileTest, ItemsPlainAndQuoted) {
  using Items = std::vector<std::string>;
  EXPECT_EQ(EnvironmentItems("a,b,,c", false), (Items{"a", "b", "", "c"}));
  EXPECT_EQ(EnvironmentItems("a,b", true), (Items{"a,b"}));
  EXPECT_EQ(EnvironmentItems("say \"hi\"", false), (Items{"say \"hi\""}));
  EXPECT_EQ(EnvironmentItems("\"a,b\",\"say \"\"hi\"\"\"", false), (Items{"a,b", "say \"hi\""}));
  EXPECT_EQ(EnvironmentItems("\"one\",", false), (Items{"one", ""}));
  EXPECT_EQ(EnvironmentItems("\"unterminated", false), (Items{"unterminated"}));
  EXPECT_EQ(EnvironmentItems("", false), (Items{""}));
}

TEST_F(EnvironmentFileTest, GermanMonthNames) {
  std::string path = WriteFile(
      "german.env",
      "qvnmonth=Januar,Februar,M\xE4rz,April,Mai,Juni,Juli,August,September,Oktober,November,"
      "Dezember\r\n");
  ASSERT_TRUE(LoadEnvironmentFile(path));
  EXPECT_EQ(Oct3("@D4"), "Oktober  3, 1995     ");
  EXPECT_EQ(Oct3("@D7"), " 3 OKT 95");
  EXPECT_EQ(LongMonthName(3), "M\xE4rz");
  // Typed dates are still read back with the short names.
  EXPECT_EQ(Deformat(" 3 OCT 95", "@D7"), std::to_string(DateToDay(1995, 10, 3)));
  Apply("QVNMON=Jan,Feb,M\xE4r,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez");
  EXPECT_EQ(Deformat(" 3 OKT 95", "@D7"), std::to_string(DateToDay(1995, 10, 3)));
  EXPECT_EQ(Oct3("@D4"), "Oktober  3, 1995     ");
}

TEST_F(EnvironmentFileTest, DayPeriodsAndMessages) {
  Apply("QVNAMPM=am,pm\nQVNMSG801=Variable not bound\nQVNBUTTON=&Ja,,&Nein\nqvnmsgX=ignored");
  int32_t afternoon = TimeToValue(13, 5, 0, 0);
  EXPECT_EQ(FormatText(std::to_string(afternoon), "@T3"), " 1:05pm");
  EXPECT_EQ(FormatText(std::to_string(afternoon), "@T7"), "01:05 PM");
  EXPECT_EQ(MessageText(801), "Variable not bound");
  std::string text;
  EXPECT_TRUE(LoadText(32512, text));
  EXPECT_EQ(text, "&Ja");
  EXPECT_FALSE(LoadText(32513, text));
  EXPECT_TRUE(LoadText(32514, text));
  EXPECT_EQ(text, "&Nein");
  Apply("QVNAMPM=WINDOWS");
  EXPECT_EQ(FormatText(std::to_string(afternoon), "@T3"), " 1:05PM");
}

TEST_F(EnvironmentFileTest, CharacterSetsCollationAndCase) {
  Apply("QVNCOLSEQ=ba\nQVNCASE=\"\xC4\xD6\",\"\xE4\xF6\"\nQVNDIGRAPH=\xDFss");
  EXPECT_LT(Weight('b'), Weight('a'));
  EXPECT_EQ(ToUpper(0xE4), 0xC4);
  EXPECT_EQ(CompareCollated("Stra\xDF"
                            "e",
                            "Strasse"),
            0);
  // Pairs of different lengths fall back to the system's own case pairs.
  Apply("QVNCASE=\xC4\xD6,\xE4");
  EXPECT_EQ(ToUpper(0xF6), 0xD6);
  Apply("QVNCASE=");
  EXPECT_EQ(ToUpper(0xF6), 0xF6);
  EXPECT_EQ(ToUpper('q'), 'Q');
  Apply("QVNCOLSEQ=");
  EXPECT_LT(Weight('a'), Weight('b'));
}

TEST_F(EnvironmentFileTest, OemFilesAreConvertedAfterTheCharacterSetKey) {
  char oemUmlaut = static_cast<char>(platform::AnsiToOem(0xE4));
  Apply(std::string("QVNMONTH=M") + oemUmlaut + "rz\nQVNCHARSET=OEM\nQVNMON=M" + oemUmlaut + "r");
  EXPECT_TRUE(OemData());
  EXPECT_EQ(LongMonthName(1), std::string("M") + oemUmlaut + "rz")
      << "before the key: as it stands";
  EXPECT_EQ(ShortMonthName(1), "M\xE4r");
}

TEST_F(EnvironmentFileTest, MalformedFileLosesNothing) {
  SetLongMonthName(2, "Febr");
  std::string path =
      WriteFile("broken.env", std::string("\x01\x02garbage\n=\nQVNMONTH\n\xFF\xFE=\xFF\n") +
                                  "QVNCASE=\"abc\nQVNMONTH=,Hornung\nQVNAMPM=x\nQVNDIGRAPH=ab\n" +
                                  std::string(5000, '=') + "\nQVNMSG=none\n");
  ASSERT_TRUE(LoadEnvironmentFile(path));
  EXPECT_EQ(LongMonthName(1), "January");
  EXPECT_EQ(LongMonthName(2), "Hornung");
  EXPECT_EQ(LongMonthName(3), "March");
  EXPECT_EQ(RuntimeDayPeriods().am, "AM");
  EXPECT_FALSE(HasDigraphs());
  EXPECT_EQ(ToUpper('a'), 'A');
}

TEST_F(EnvironmentFileTest, MissingFileSetsTheErrorAndKeepsDefaults) {
  std::string plainFile = WriteFile("plain.env", "");
  EXPECT_FALSE(LoadEnvironmentFile(plainFile + "/none.env"));
  EXPECT_EQ(ErrorCode(), 303);
  EXPECT_FALSE(LoadEnvironmentFile(testing::ProcessTempDir::File("none.env")));
  EXPECT_EQ(ErrorCode(), 302);
  EXPECT_EQ(LongMonthName(1), "January");
}

TEST_F(EnvironmentFileTest, WindowsNameReadsNoFile) {
  EXPECT_TRUE(LoadEnvironmentFile("windows"));
  EXPECT_EQ(ToUpper(0xE4), 0xC4);
  EXPECT_FALSE(OemData());
}

TEST_F(EnvironmentFileTest, FileNameBesideTheProgram) {
  EXPECT_EQ(EnvironmentFileName("/opt/app/reelkeeper.exe"), "/opt/app/reelkeeper.ENV");
  EXPECT_EQ(EnvironmentFileName("/opt/app/reelkeeper"), "/opt/app/reelkeeper.ENV");
  EXPECT_EQ(EnvironmentFileName("/opt/app.d/reelkeeper"), "/opt/app.d/reelkeeper.ENV");
  EXPECT_EQ(EnvironmentFileName("prog.a.b"), "prog.a.ENV");
}

}  // namespace
}  // namespace rk
