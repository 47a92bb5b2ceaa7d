#include "runtime/files/file_dispatcher.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "runtime/core/error_state.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/open_files_registry.h"
#include "runtime/files/runtime_threads.h"
#include "runtime/platform/last_error.h"
#include "tests/files/fake_driver.h"

namespace rk {
namespace {

using testing::FakeEntry;
using testing::FakeFileSpec;
using testing::FakeWorld;

class FileDispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeWorld().Reset();
    FakeWorld().files["TAPES"] = {};
    ClearFileError();
  }
  void TearDown() override { EXPECT_EQ(Values().Depth(), 0u) << "value stack left unbalanced"; }

  void AddRecord(int16_t number) {
    std::memcpy(tapes.record(), &number, 2);
    ADD(tapes.file());
    ASSERT_EQ(ErrorCode(), 0);
  }
  uint32_t Bits() { return tapes.file().state ? tapes.file().state->bits : 0; }

  DeclaredFile tapes{FakeFileSpec("TAPES"), &FakeEntry};
};

TEST_F(FileDispatcherTest, OpenSetsAccessBitsAndCloseDiscardsTheState) {
  OPEN(tapes.file(), kAccessReadWrite | kDenyWrite);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(Bits(), kStateOpen | kStateWrite | kStateExclusive);
  EXPECT_EQ(tapes.file().state->name, "TAPES");

  CLOSE(tapes.file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(tapes.file().state, nullptr);

  OPEN(tapes.file(), kAccessReadOnly | kDenyNone);
  EXPECT_EQ(Bits(), kStateOpen);
}

TEST_F(FileDispatcherTest, OpenOfAnOpenFileGives52AndKeepsItOpen) {
  OPEN(tapes.file());
  FileState* state = tapes.file().state;
  OPEN(tapes.file());
  EXPECT_EQ(ErrorCode(), 52);
  EXPECT_EQ(MessageText(ErrorCode()), "File Already Open");
  EXPECT_EQ(tapes.file().state, state);
  EXPECT_TRUE(state->isOpen());
}

TEST_F(FileDispatcherTest, FailedOpenDiscardsTheStateMadeForIt) {
  DeclaredFile missing{FakeFileSpec("MISSING"), &FakeEntry};
  OPEN(missing.file());
  EXPECT_EQ(ErrorCode(), 2);
  EXPECT_EQ(ErrorName(), "MISSING");
  EXPECT_EQ(ErrorFile(), &missing.file());
  EXPECT_EQ(missing.file().state, nullptr);
}

TEST_F(FileDispatcherTest, SequentialReadsNeedASequenceAndLeaveNoRecordAtTheEnd) {
  OPEN(tapes.file());
  AddRecord(7);
  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(Bits() & kStateCurrentRecord, 0u) << "a failed read leaves no current record";
  EXPECT_EQ(FakeWorld().calls.back(), "TAPES 1") << "the handler must not run";

  SET(tapes.file());
  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_NE(Bits() & kStateCurrentRecord, 0u);
  EXPECT_EQ(tapes.file().state->lastSequential, kOpNext);

  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 33);
  EXPECT_EQ(Bits() & kStateCurrentRecord, 0u);
  EXPECT_TRUE(tapes.file().state->isOpen()) << "a failed read keeps the file's state";
}

TEST_F(FileDispatcherTest, OperationsNeedingARecordOrAccessAnswerTheirError) {
  OPEN(tapes.file(), kAccessReadWrite | kDenyNone);
  DELETE(tapes.file());
  EXPECT_EQ(ErrorCode(), 33);
  PUT(tapes.file());
  EXPECT_EQ(ErrorCode(), 33);
  CLOSE(tapes.file());

  FakeWorld().files["TAPES"].push_back(std::vector<uint8_t>(12, 0));
  OPEN(tapes.file(), kAccessReadOnly | kDenyWrite);
  SET(tapes.file());
  NEXT(tapes.file());
  ASSERT_EQ(ErrorCode(), 0);
  PUT(tapes.file());
  EXPECT_EQ(ErrorCode(), 5);
  ADD(tapes.file());
  EXPECT_EQ(ErrorCode(), 5);
  EXPECT_EQ(FakeWorld().files["TAPES"].size(), 1u);

  CLOSE(tapes.file());
  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 37);
  EXPECT_EQ(tapes.file().state, nullptr) << "a state made for a refused call is discarded";
}

TEST_F(FileDispatcherTest, CloseDuringLogoutGives56AndTheFileStaysOpen) {
  OPEN(tapes.file());
  LOGOUT(tapes.file());
  ASSERT_EQ(ErrorCode(), 0);
  LOGOUT(tapes.file());
  EXPECT_EQ(ErrorCode(), 56);
  CLOSE(tapes.file());
  EXPECT_EQ(ErrorCode(), 56);
  ASSERT_NE(tapes.file().state, nullptr);
  EXPECT_TRUE(tapes.file().state->isOpen());

  COMMIT(tapes.file());
  EXPECT_EQ(Bits() & kStateLogout, 0u);
  CLOSE(tapes.file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(tapes.file().state, nullptr);
}

TEST_F(FileDispatcherTest, EndTestsReturnOneOnErrorAndKeepAnEarlierError) {
  OPEN(tapes.file());
  EXPECT_TRUE(EOF_(tapes.file())) << "no sequence: the test fails and answers 1";
  EXPECT_EQ(ErrorCode(), 33);

  AddRecord(1);
  SET(tapes.file());
  FakeWorld().forcedAnswers[kOpGetByPointer] = 35;
  GET(tapes.file(), 9);
  ASSERT_EQ(ErrorCode(), 35);
  EXPECT_FALSE(EOF_(tapes.file()));
  EXPECT_EQ(ErrorCode(), 35) << "EOF does not clear the error state";

  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 0) << "NEXT clears it";
  EXPECT_TRUE(EOF_(tapes.file()));
  EXPECT_TRUE(BOF(tapes.file())) << "a code without handler fails, so BOF answers 1";
  EXPECT_EQ(ErrorCode(), 80);
}

TEST_F(FileDispatcherTest, SendRegisterOnAClosedFileAnswersTheDriverName) {
  EXPECT_EQ(SEND(tapes.file(), "REGISTER"), "FAKE");
  EXPECT_EQ(tapes.file().state, nullptr);
  EXPECT_EQ(NAME(tapes.file()), "TAPES");
  EXPECT_EQ(tapes.file().state, nullptr);

  OPEN(tapes.file());
  EXPECT_EQ(SEND(tapes.file(), "REGISTER  "), "FAKE");
  EXPECT_EQ(SEND(tapes.file(), "QUICKSCAN=on"), "SEND arg not recognised");
  EXPECT_EQ(FakeWorld().lastText, "QUICKSCAN=on");
  EXPECT_TRUE(tapes.file().state->isOpen());
}

TEST_F(FileDispatcherTest, UnsupportedCodesGive80) {
  OPEN(tapes.file());
  AddRecord(1);
  SET(tapes.file());
  PREVIOUS(tapes.file());
  EXPECT_EQ(ErrorCode(), 80);
  EXPECT_EQ(MessageText(ErrorCode()), "Unsupported File Driver Function");

  for (int32_t code : {0, -4, 316, 5000}) {
    ClearFileError();
    CallFileOperation(code, tapes.file());
    EXPECT_EQ(ErrorCode(), 80) << code;
  }
  EXPECT_EQ(CallFileOperation(kOpOwnViewEngine, tapes.file()), 0);
  EXPECT_TRUE(tapes.file().state->isOpen());
}

TEST_F(FileDispatcherTest, HandlerAnswersArePostedWithTheirTexts) {
  OPEN(tapes.file());
  FakeWorld().forcedAnswers[kOpNext] = 99;
  SET(tapes.file());
  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 99);
  EXPECT_EQ(MessageText(ErrorCode()), "Unknown Error Posted : 99");
  EXPECT_EQ(ErrorName(), "TAPES");

  FakeWorld().forcedAnswers[kOpNext] = -1;
  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 99) << "a silent failure leaves the error state alone";

  platform::SetLastError(5);
  FakeWorld().forcedAnswers[kOpNext] = SystemFailureCode();
  NEXT(tapes.file());
  EXPECT_EQ(ErrorCode(), 305);
  platform::SetLastError(0);
}

// What a call achieved is shown after it ran: a refused precondition, an
// injected fault and a handler's answer each come with their error.
TEST_F(FileDispatcherTest, FinishedCallsAreShownWithTheErrorTheyAnswered) {
  std::vector<std::pair<int32_t, int32_t>> done;  // code, error
  SetDriverCallDone([&done](int32_t code, const FileDescriptor& file, int32_t error) {
    EXPECT_EQ(FileNameText(file), "TAPES");
    done.emplace_back(code, error);
  });
  OPEN(tapes.file());
  PUT(tapes.file());
  AddRecord(3);
  SetDriverFault([](int32_t code, const FileDescriptor&) { return code == kOpAdd ? 45 : 0; });
  ADD(tapes.file());
  SetDriverFault({});
  FakeWorld().forcedAnswers[kOpDelete] = 99;
  DELETE(tapes.file());
  SetDriverCallDone({});
  CLOSE(tapes.file());

  EXPECT_EQ(done, (std::vector<std::pair<int32_t, int32_t>>{
                      {kOpOpen, 0}, {kOpPut, 33}, {kOpAdd, 0}, {kOpAdd, 45}, {kOpDelete, 99}}));
  EXPECT_EQ(FakeWorld().files["TAPES"].size(), 1u);
}

TEST_F(FileDispatcherTest, DeclarationsThatCannotBeUsedAreRefusedOnFirstUse) {
  FileSpec spec = FakeFileSpec("TAPES");
  DeclaredFile arrayKey{spec, &FakeEntry};
  const uint8_t notAGroup[] = {18, 10, 0, 0, 0, 0};
  arrayKey.file().fieldList = notAGroup;
  arrayKey.file().fieldListLength = sizeof notAGroup;
  OPEN(arrayKey.file());
  EXPECT_EQ(ErrorCode(), 75);
  EXPECT_EQ(arrayKey.file().state, nullptr);

  const FieldSpec arrayFields[] = {{"FAK:NUMBERS", 0, 2, 0, 0, 3}};
  spec.fields = arrayFields;
  DeclaredFile arrayComponent{spec, &FakeEntry};
  OPEN(arrayComponent.file());
  EXPECT_EQ(ErrorCode(), 75) << "a key component may not be an array";

  const FieldSpec tooLong[] = {{"FAK:TEXT", 0, 18, 20}};
  spec.fields = tooLong;
  spec.keys = {};
  DeclaredFile pastTheRecord{spec, &FakeEntry};
  OPEN(pastTheRecord.file());
  EXPECT_EQ(ErrorCode(), 75) << "a field may not run past the record";

  spec = FakeFileSpec("TAPES");
  spec.recordLength = 64001;
  DeclaredFile hugeRecord{spec, &FakeEntry};
  OPEN(hugeRecord.file());
  EXPECT_EQ(ErrorCode(), 47);
  EXPECT_EQ(hugeRecord.file().state, nullptr);
}

TEST_F(FileDispatcherTest, OpenFilesAreRegisteredWithTheirDriversCapabilities) {
  EXPECT_EQ(FindOpenFile(tapes.file()), nullptr);
  OPEN(tapes.file());
  OpenFileEntry* entry = FindOpenFile(tapes.file());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->thread, -1);
  EXPECT_TRUE(entry->canLogout && entry->canCommit && entry->canRollback);
  EXPECT_TRUE(entry->canLock && entry->canUnlock);
  CLOSE(tapes.file());
  EXPECT_EQ(FindOpenFile(tapes.file()), nullptr);
}

int32_t threadNumber = 1;
int registeredPerThread = 0;

TEST_F(FileDispatcherTest, PerThreadFilesAreRegisteredAndToldApartByThread) {
  SetThreadNumberSource([] { return threadNumber; });
  SetPerThreadFileRegistrar([](FileDescriptor&) { ++registeredPerThread; });
  DeclaredFile perThread{FakeFileSpec("TAPES", kFileAttrCreate | kFileAttrPerThread), &FakeEntry};

  threadNumber = 3;
  OPEN(perThread.file());
  EXPECT_EQ(registeredPerThread, 1);
  ASSERT_NE(FindOpenFile(perThread.file()), nullptr);
  EXPECT_EQ(FindOpenFile(perThread.file())->thread, 3);
  threadNumber = 4;
  EXPECT_EQ(FindOpenFile(perThread.file()), nullptr);
  threadNumber = 3;
  CLOSE(perThread.file());

  SetThreadNumberSource(nullptr);
  SetPerThreadFileRegistrar(nullptr);
}

}  // namespace
}  // namespace rk
