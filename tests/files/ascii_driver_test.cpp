#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/ascii_driver.h"
#include "runtime/files/ascii_options.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/operation_codes.h"
#include "tests/files/ascii_test_support.h"

namespace rk::test_files {
namespace {

using Lines = std::vector<std::string>;

TEST_F(AsciiTest, TheDriverRegistersAsAscii) {
  const DriverRegistration& registration = AsciiRegistration();
  const int32_t declared[] = {1,  51, 4,  59, 52, 14, 7,  9,  10, 13, 29, 53, 16, 20, 21, 23,
                              24, 25, 27, 61, 30, 54, 55, 66, 37, 38, 63, 60, 41, 43, 48, 50};
  for (int32_t code : declared) EXPECT_TRUE(DriverDeclares(registration, code)) << code;
  EXPECT_FALSE(DriverDeclares(registration, kOpPrevious));
  EXPECT_TRUE(DriverStoresType(registration, kString));
  EXPECT_FALSE(DriverStoresType(registration, kLong));
  EXPECT_STREQ(registration.banner, "Ascii File Driver 1.0");

  auto text = Declare();
  EXPECT_EQ(SEND(text->file(), "REGISTER"), "ASCII");
  EXPECT_EQ(text->file().state, nullptr);  // the closed file stays closed
  EXPECT_EQ(NAME(text->file()), Path());

  WriteBytes("x\r\n");
  OPEN(text->file(), kAccessReadOnly | kDenyNone);
  SET(text->file());
  PREVIOUS(text->file());
  EXPECT_EQ(ErrorCode(), 80);
  EXPECT_EQ(MessageText(ErrorCode()), "Unsupported File Driver Function");
  EXPECT_EQ(CallFileOperation(kOpSequenceKeyNumber, text->file()), 0);
}

TEST_F(AsciiTest, OpenAndCreateAnswerTheirErrors) {
  auto text = Declare();
  OPEN(text->file());
  EXPECT_EQ(ErrorCode(), 2);
  EXPECT_EQ(text->file().state, nullptr);

  AsciiTextFile unnamed;
  OPEN(unnamed.file());
  EXPECT_EQ(ErrorCode(), 45);

  auto noCreate = Declare(20, {}, 0);
  CREATE(noCreate->file());
  EXPECT_EQ(ErrorCode(), 54);

  WriteBytes("old\r\n");
  CREATE(text->file());
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(ReadBytes(), "");
  EXPECT_EQ(text->file().state, nullptr);

  OPEN(text->file(), kAccessReadWrite | kDenyWrite);
  ASSERT_EQ(ErrorCode(), 0);
  OPEN(text->file());
  EXPECT_EQ(ErrorCode(), 52);
  // Another declaration cannot create (truncate) the file that is held open.
  text->setLine("kept");
  ADD(text->file());
  auto other = Declare();
  CREATE(other->file());
  EXPECT_EQ(ErrorCode(), 5);
  EXPECT_EQ(ReadBytes(), "kept\r\n");
  // Nor open it while it is held deny-write for writing.
  OPEN(other->file(), kAccessReadWrite | kDenyNone);
  EXPECT_EQ(ErrorCode(), 332);
  CLOSE(text->file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(text->file().state, nullptr);
}

TEST_F(AsciiTest, SendAnswersEachOptionBeforeChangingIt) {
  auto text = OpenOver("a\r\n", 20, "/clip=off/TAB=4");
  FileDescriptor& file = text->file();
  EXPECT_EQ(SEND(file, "CLIP"), "OFF");
  EXPECT_EQ(SEND(file, "TAB"), "4");
  EXPECT_EQ(SEND(file, "TAB= -2"), "4");
  EXPECT_EQ(SEND(file, "TAB"), "-2");
  EXPECT_EQ(SEND(file, "QUICKSCAN"), "OFF");  // shared files check the size
  EXPECT_EQ(SEND(file, "FILEBUFFERS=2"), "512");
  EXPECT_EQ(SEND(file, "FILEBUFFERS"), "1024");
  EXPECT_EQ(SEND(file, "ENDOFRECORD=1,10"), "\r\n");
  EXPECT_EQ(SEND(file, "ENDOFRECORD"), "\n");
  EXPECT_EQ(SEND(file, "NOSUCHOPTION=1"), "");
  EXPECT_EQ(Values().Depth(), 0u);

  // Settings that cannot be read change nothing.
  EXPECT_EQ(SEND(file, "ENDOFRECORD=3,10"), "\n");
  EXPECT_EQ(SEND(file, "ENDOFRECORD=0"), "\n");
  EXPECT_EQ(SEND(file, "ENDOFRECORD=1,256"), "\n");
  EXPECT_EQ(SEND(file, "FILEBUFFERS=0"), "1024");
  EXPECT_EQ(SEND(file, "CLIP=MAYBE"), "OFF");
  EXPECT_EQ(SEND(file, "TAB=X"), "-2");
  EXPECT_EQ(SEND(file, "TAB"), "-2");
  // A huge buffer request is held to a sane size.
  SEND(file, "FILEBUFFERS=4000000000");
  EXPECT_EQ(SEND(file, "FILEBUFFERS"), std::to_string(kAsciiMaxBufferBlocks * 512));

  // The defaults follow the access mode; a closed file answers them too.
  CLOSE(file);
  EXPECT_EQ(SEND(file, "CLIP"), "ON");
  OPEN(file, kAccessReadWrite | kDenyWrite);
  EXPECT_EQ(SEND(file, "QUICKSCAN"), "ON");
  EXPECT_EQ(SEND(file, "FILEBUFFERS"), "1024");
  EXPECT_EQ(SEND(file, "CLIP"), "OFF");  // the declaration again
}

TEST_F(AsciiTest, PositionsLeadBackToTheirLines) {
  auto text = OpenOver("first\r\nsecond\r\nthird\r\n");
  FileDescriptor& file = text->file();
  NEXT(file);
  EXPECT_EQ(ErrorCode(), 33);  // no sequence yet
  SET(file);
  NEXT(file);
  NEXT(file);
  EXPECT_EQ(text->line(), "second");
  EXPECT_EQ(POINTER(file), 8);
  EXPECT_EQ(BYTES(file), 8);
  std::string position = POSITION(file);
  EXPECT_EQ(position, std::string("\x08\0\0\0", 4));
  NEXT(file);
  EXPECT_EQ(text->line(), "third");

  RESET(file, position);
  NEXT(file);
  EXPECT_EQ(text->line(), "second");
  GET(file, 1);
  EXPECT_EQ(text->line(), "first");
  REGET(file, position);
  EXPECT_EQ(text->line(), "second");
  GET(file, 16, 3);
  EXPECT_EQ(text->line(), "thi");
  NEXT(file);
  EXPECT_EQ(ErrorCode(), 33);  // the sequence went on after the whole line
  SET(file, 16);
  NEXT(file);
  EXPECT_EQ(text->line(), "third");

  GET(file, 100);
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(BYTES(file), 22);  // no current record: the file's size
  REGET(file, "ab");
  EXPECT_EQ(ErrorCode(), 35);
  POINTER(file);
  EXPECT_EQ(ErrorCode(), 33);
}

TEST_F(AsciiTest, AddAppendsLinesAndClipsTheirSpaces) {
  WriteBytes("one\r\n");
  auto text = Declare(8);
  FileDescriptor& file = text->file();
  OPEN(file, kAccessReadWrite | kDenyWrite);
  text->setLine("two");
  ADD(file);
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(POINTER(file), 6);
  EXPECT_EQ(BYTES(file), 5);
  text->setLine("three");
  APPEND(file, 2);
  SEND(file, "CLIP=OFF");
  text->setLine("four");
  ADD(file);
  EXPECT_EQ(ReadBytes(), "one\r\ntwo\r\nth\r\nfour    \r\n");
  EXPECT_EQ(ReadAll(*text), (Lines{"one", "two", "th", "four"}));
  EXPECT_EQ(SEND(file, "ENDOFRECORD=1,10"), "\r\n");
  text->setLine("five");
  ADD(file, 4);
  EXPECT_EQ(ReadBytes().substr(24), "five\n");
}

TEST_F(AsciiTest, PutOverwritesInPlace) {
  WriteBytes("alpha\r\nbeta\r\ngamma\r\n");
  auto text = Declare(8);
  FileDescriptor& file = text->file();
  OPEN(file, kAccessReadWrite | kDenyWrite);
  SET(file);
  NEXT(file);
  text->setLine("ALPHA");
  PUT(file);
  ASSERT_EQ(ErrorCode(), 0);
  // A shorter line leaves the rest of the old one after its terminator.
  text->setLine("b");
  PUT(file, 8);
  EXPECT_EQ(ReadBytes(), "ALPHA\r\nb\r\na\r\ngamma\r\n");
  text->setLine("GAMMA-X");
  PUT(file, 14, 5);
  EXPECT_EQ(ReadBytes(), "ALPHA\r\nb\r\na\r\nGAMMA\r\n");
  PUT(file, 100);
  EXPECT_EQ(ErrorCode(), 33);
  PUT(file, 0);
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(ReadBytes(), "ALPHA\r\nb\r\na\r\nGAMMA\r\n");
}

TEST_F(AsciiTest, WritesNeedWriteAccessAndEmptyNeedsTheFileAlone) {
  auto text = OpenOver("line\r\n");
  FileDescriptor& file = text->file();
  ADD(file);
  EXPECT_EQ(ErrorCode(), 5);
  ADD(file, 3);
  EXPECT_EQ(ErrorCode(), 5);
  EXPECT_EQ(ReadBytes(), "line\r\n");
  CLOSE(file);

  OPEN(file, kAccessReadWrite | kDenyNone);
  EMPTY(file);
  EXPECT_EQ(ErrorCode(), 63);
  CLOSE(file);
  OPEN(file, kAccessReadWrite | kDenyAll);
  SET(file);
  NEXT(file);
  EMPTY(file);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(BYTES(file), 0);  // the line read before is gone
  NEXT(file);
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(ReadBytes(), "");
}

TEST_F(AsciiTest, FilesAreCopiedRenamedAndRemovedByName) {
  WriteBytes("data\r\n");
  auto text = Declare();
  FileDescriptor& file = text->file();
  COPY(file, Path("COPY.TXT") + "   ");  // a padded text variable
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(ReadBytes("COPY.TXT"), "data\r\n");
  COPY(file, Path());  // onto itself: refused, nothing lost
  EXPECT_NE(ErrorCode(), 0);
  EXPECT_EQ(ReadBytes(), "data\r\n");

  RENAME(file, Path("COPY.TXT"));
  EXPECT_EQ(ErrorCode(), 380);
  RENAME(file, "  ");
  EXPECT_EQ(ErrorCode(), 45);
  RENAME(file, Path("MOVED.TXT"));
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(ReadBytes("MOVED.TXT"), "data\r\n");
  REMOVE(file);
  EXPECT_EQ(ErrorCode(), 2);
  COPY(file, Path("X.TXT"));
  EXPECT_EQ(ErrorCode(), 2);

  text->setName(Path("MOVED.TXT"));
  OPEN(file);
  REMOVE(file);
  EXPECT_EQ(ErrorCode(), 52);
  CLOSE(file);
  REMOVE(file);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_FALSE(std::filesystem::exists(Path("MOVED.TXT")));
}

}  // namespace
}  // namespace rk::test_files
