#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "runtime/files/ascii_driver.h"
#include "tests/files/ascii_test_support.h"

namespace rk::test_files {
namespace {

using Lines = std::vector<std::string>;

TEST_F(AsciiTest, LinesEndWhereTheTerminatorSays) {
  // CR LF by default; a line without final terminator is still a record.
  auto text = OpenOver("one\r\n\r\nthree\r\nfour");
  EXPECT_EQ(ReadAll(*text), (Lines{"one", "", "three", "four"}));
  EXPECT_TRUE(EOF_(text->file()));

  // A lone LF or CR is an ordinary byte under CR LF.
  text = OpenOver("a\nb\rc\r\n");
  EXPECT_EQ(ReadAll(*text), (Lines{"a\nb\rc"}));

  // A single line feed: the carriage return stays at the end of each record.
  text = OpenOver("one\r\ntwo\nthree", 20, "/ENDOFRECORD=1,10");
  EXPECT_EQ(ReadAll(*text), (Lines{"one\r", "two", "three"}));

  text = OpenOver("one\rtwo\r", 20, "/ENDOFRECORD=1,13");
  EXPECT_EQ(ReadAll(*text), (Lines{"one", "two"}));
}

TEST_F(AsciiTest, ATerminatorSplitAcrossTheReadBufferIsFound) {
  // Lines of 9 bytes plus CR LF: with a 512-byte buffer, terminators fall on
  // every position relative to the buffer's end over the file.
  std::string bytes;
  Lines expected;
  for (int i = 0; i < 300; ++i) {
    std::string line = std::string(8, char('a' + i % 26)) + char('0' + i % 10);
    expected.push_back(line);
    bytes += line + "\r\n";
  }
  auto text = OpenOver(bytes, 20);
  EXPECT_EQ(SEND(text->file(), "FILEBUFFERS"), "512");
  EXPECT_EQ(ReadAll(*text), expected);
}

TEST_F(AsciiTest, ALineLongerThanTheRecordIsCutAndTheRestSkipped) {
  auto text = OpenOver("0123456789abcdefghij\r\nnext\r\n", 10);
  SET(text->file());
  NEXT(text->file());
  EXPECT_EQ(text->line(), "0123456789");
  EXPECT_EQ(BYTES(text->file()), 22);
  NEXT(text->file());
  EXPECT_EQ(text->line(), "next");
  EXPECT_EQ(POINTER(text->file()), 23);

  // A line of many buffers' length, in a file that ends without terminator.
  text = OpenOver("start\r\n" + std::string(100000, 'x'), 10);
  SET(text->file(), 8);
  NEXT(text->file());
  EXPECT_EQ(text->line(), "xxxxxxxxxx");
  EXPECT_EQ(BYTES(text->file()), 100000);
  NEXT(text->file());
  EXPECT_EQ(ErrorCode(), 33);
}

TEST_F(AsciiTest, TabsAreExpandedAsTheTabOptionSays) {
  struct Case {
    const char* option;
    const char* line;
    const char* expected;
  } cases[] = {
      {"", "a\tb", "a       b"},           // default 8
      {"/TAB=4", "a\tb", "a   b"},         // to the next multiple of 4
      {"/TAB=4", "abcd\tb", "abcd    b"},  // at a multiple: a whole stop
      {"/TAB=-2", "a\tb", "a  b"},         // always two spaces
      {"/TAB=0", "a\tb", "ab"},            // dropped
      {"/TAB=-100", "a\tb", "a\tb"},       // kept
      {"/TAB=4", "abcdefg\tx", "abcdefg x"},
      {"/TAB=4", "abcdefgh\tx", "abcdefgh"},  // the spaces fill the record, x is cut
  };
  for (const Case& c : cases) {
    auto text = OpenOver(std::string(c.line) + "\r\nz\r\n", 10, c.option);
    EXPECT_EQ(ReadAll(*text), (Lines{c.expected, "z"})) << c.option << " " << c.line;
  }
}

TEST_F(AsciiTest, TheEndOfDataMarkEndsReading) {
  auto text = OpenOver("one\r\ntwo\x1Athree\r\nfour\r\n");
  EXPECT_EQ(ReadAll(*text), (Lines{"one", "two"}));
  EXPECT_TRUE(EOF_(text->file()));
  NEXT(text->file());
  EXPECT_EQ(ErrorCode(), 33);

  // In the skipped rest of a long line.
  text = OpenOver("0123456789ab\x1Alater\r\n", 10);
  EXPECT_EQ(ReadAll(*text), (Lines{"0123456789"}));

  // A file of nothing else.
  text = OpenOver("\x1A");
  SET(text->file());
  EXPECT_TRUE(EOF_(text->file()));
  NEXT(text->file());
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(BYTES(text->file()), 1);

  // An empty file.
  text = OpenOver("");
  EXPECT_EQ(ReadAll(*text), Lines{});
  EXPECT_EQ(BYTES(text->file()), 0);
}

TEST_F(AsciiTest, BinaryBytesAreCopiedAsTheyStand) {
  std::string line("\x00\x01\xFF\x7F z", 6);
  auto text = OpenOver(line + "\r\n", 6);
  SET(text->file());
  NEXT(text->file());
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(text->record()), 6), line);
}

TEST_F(AsciiTest, OemFilesAreReadAndWrittenInTheOemCodePage) {
  WriteBytes("gr\x81n\r\n");  // IBM 437 u-umlaut
  AsciiTextFile text(10, kFileAttrOem);
  text.setName(Path());
  OPEN(text.file(), kAccessReadWrite | kDenyWrite);
  EXPECT_EQ(ReadAll(text), (Lines{"gr\xFCn"}));  // Windows-1252 u-umlaut
  text.setLine("\xE9t\xE9");                     // e-acute
  ADD(text.file());
  ASSERT_EQ(ErrorCode(), 0);
  CLOSE(text.file());
  EXPECT_EQ(ReadBytes(), "gr\x81n\r\n\x82t\x82\r\n");
}

// Random files under several options: reading ends in 33, each line moves
// forward, and the lines cover the data without gap or overlap.
TEST_F(AsciiTest, RandomBytesAreReadToTheEndWithoutHarm) {
  std::mt19937 random(20261208);
  const char* optionSets[] = {"",
                              "/TAB=3",
                              "/TAB=-7",
                              "/ENDOFRECORD=1,10",
                              "/ENDOFRECORD=3,1,2,3",
                              "/TAB=-100/ENDOFRECORD=1,9"};
  for (int round = 0; round < 60; ++round) {
    std::string bytes(random() % 3000, '\0');
    const bool sparse = round % 2 == 0;  // mostly special bytes, or anything
    for (char& c : bytes) {
      const char special[] = {'\r', '\n', '\t', '\x1A', 'a', 1, 2, 3};
      c = sparse ? special[random() % 8] : static_cast<char>(random());
    }
    auto text = OpenOver(bytes, 1 + random() % 40, optionSets[round % 6]);
    SET(text->file());
    int64_t consumed = 0;
    int32_t lastPointer = 0;
    size_t reads = 0;
    for (NEXT(text->file()); ErrorCode() == 0; NEXT(text->file())) {
      ASSERT_LE(++reads, bytes.size()) << "round " << round;
      ASSERT_GT(POINTER(text->file()), lastPointer);
      lastPointer = POINTER(text->file());
      ASSERT_GT(BYTES(text->file()), 0);
      consumed += BYTES(text->file());
    }
    EXPECT_EQ(ErrorCode(), 33);
    // Lines follow each other without gap up to the first end-of-data mark.
    EXPECT_EQ(consumed, static_cast<int64_t>(std::min(bytes.find('\x1A'), bytes.size())));
  }
}

// The start window's text, read whole through a line file the way the program
// reads it: every line, with BYTES adding up to the file's size.
TEST_F(AsciiTest, AReadmeOfManyShortLinesIsReadWhole) {
  std::string bytes;
  Lines expected;
  for (int i = 0; bytes.size() < 45000; ++i) {
    std::string line = "Line " + std::to_string(i) + std::string(i % 70, '.');
    expected.push_back(line);
    bytes += line + "\r\n";
  }
  auto text = OpenOver(bytes, kTextLineLength);
  EXPECT_EQ(BYTES(text->file()), static_cast<int32_t>(bytes.size()));
  SET(text->file());
  Lines lines;
  int64_t total = 0;
  for (NEXT(text->file()); ErrorCode() == 0; NEXT(text->file())) {
    lines.push_back(text->line());
    total += BYTES(text->file());
  }
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(total, static_cast<int64_t>(bytes.size()));
}

}  // namespace
}  // namespace rk::test_files
