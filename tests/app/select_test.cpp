// The selects as their callers use them: opened on the caller's thread at the
// record the caller names, moved by what the user types, and handing back the
// chosen record, or nothing when closed.
#include <string>
#include <vector>

#include "app/collection_files.h"
#include "app/open_data_file.h"
#include "app/procedure_table.h"
#include "app/thread_globals.h"
#include "runtime/files/file_statements.h"
#include "runtime/windows/control_text_of.h"
#include "tests/app/browse_fixture.h"

namespace rk::testing {
namespace {

constexpr int32_t kBrowseItemsItem = -7;
constexpr int32_t kBrowseManufacturerItem = -16;
constexpr int32_t kThread = 2;
constexpr size_t kItemDescription = 7;

// What the stand-in caller of SELECTSUBJECT saw when the select returned.
struct SelectOutcome {
  int32_t response = 0;
  std::string subject;
  bool returned = false;
};
SelectOutcome outcome;

// Calls SELECTSUBJECT the way the video form does: the subject to start from in
// the record buffer, request 4.
void SubjectCaller() {
  OPENDATAFILE(SUBJECT());
  ++UseCount(CollectionFileId::kSubject);
  DeclaredFile& subjects = CollectionFile(CollectionFileId::kSubject);
  subjects.setText("SUB:SUBJECT", "CRIME");
  GlobalRequest() = kRequestSelect;
  ProcedureNamed("SELECTSUBJECT")();
  outcome.response = GlobalResponse();
  outcome.subject = std::string(ClipRight(subjects.text("SUB:SUBJECT")));
  outcome.returned = true;
  --UseCount(CollectionFileId::kSubject);
  CLOSE(SUBJECT());
}

class SelectTest : public BrowseTest {
 protected:
  void OpenSubjectSelect() {
    outcome = {};
    RegisterProcedure("BROWSEMANUFACTURER", SubjectCaller);
    StartProgram();
    Choose(kBrowseManufacturerItem);
    ASSERT_NE(WindowTitled(kThread, "Select a SUBJECT"), nullptr);
  }
};

TEST_F(SelectTest, OpensAtTheFirstSubjectAfterOneNotStoredAndHandsBackTheChoice) {
  AddSubjects({"ACTION", "COMEDY", "DOCUMENTARY", "DRAMA"});
  OpenSubjectSelect();
  EXPECT_EQ(Column(kThread, 0),
            (std::vector<std::string>{"ACTION", "COMEDY", "DOCUMENTARY", "DRAMA"}));
  EXPECT_EQ(SelectedText(kThread, 0), "DOCUMENTARY");
  Key(kThread, Qt::Key_Down);
  Press(kThread, "&Select");
  ASSERT_TRUE(RunUntil([] { return outcome.returned; }));
  EXPECT_EQ(outcome.response, kResponseCompleted);
  EXPECT_EQ(outcome.subject, "DRAMA");
}

TEST_F(SelectTest, CloseReturnsCancelled) {
  AddSubjects({"ACTION", "COMEDY"});
  OpenSubjectSelect();
  Press(kThread, "Close");
  ASSERT_TRUE(RunUntil([] { return outcome.returned; }));
  EXPECT_EQ(outcome.response, kResponseCancelled);
}

TEST_F(SelectTest, AnEmptyFileOffersASelectThatIsDisabled) {
  OpenSubjectSelect();
  EXPECT_TRUE(Column(kThread, 0).empty());
  Click(kThread, 0, Qt::RightButton);
  QMenu* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(PopupItems(*popup), (std::vector<std::string>{"~&Select"}));
  popup->close();
}

TEST_F(SelectTest, TypingLocatesAndTypingPastTheLocatorsCapacityKeepsCounting) {
  AddSubjects({"ACTION", "COMEDY", "DOCUMENTARY", "DRAMA", "MUSIC"});
  OpenSubjectSelect();
  Type(kThread, "dr");
  EXPECT_EQ(SelectedText(kThread, 0), "DRAMA");
  Key(kThread, Qt::Key_Backspace);
  EXPECT_EQ(SelectedText(kThread, 0), "DOCUMENTARY") << "\"D\" is located";

  // The subject key holds 20 characters: 23 typed keep 20, so three
  // backspaces change nothing visible and the fourth reaches the kept text.
  Key(kThread, Qt::Key_Backspace);
  Type(kThread, "DOCUMENTARY ZZZZZZZZZZZ");
  EXPECT_EQ(SelectedText(kThread, 0), "DRAMA");
  for (int i = 0; i < 3; ++i) Key(kThread, Qt::Key_Backspace);
  EXPECT_EQ(SelectedText(kThread, 0), "DRAMA");
  for (int i = 0; i < 9; ++i) Key(kThread, Qt::Key_Backspace);
  EXPECT_EQ(SelectedText(kThread, 0), "DOCUMENTARY");
}

// A stand-in for the item form: it notes the tape an inserted item belongs to.
int32_t insertedForTape = -1;
void NotingItemForm() {
  if (GlobalRequest() == kRequestInsert) {
    insertedForTape = std::stoi(CollectionFile(CollectionFileId::kItems).text("ITE:SERIAL"));
  }
}

TEST_F(SelectTest, ChoosingAnotherTapeRebuildsTheItemsAndPrimesTheLinkOnInsert) {
  AddTapes(3);
  AddItems(1, 2);
  AddItems(2, 3);
  RegisterProcedure("UPDATEITEMS", NotingItemForm);
  StartProgram();
  Choose(kBrowseItemsItem);
  ASSERT_NE(WindowTitled(kThread, "Compilation Items"), nullptr);
  EXPECT_TRUE(Column(kThread, kItemDescription).empty()) << "no tape is chosen yet";

  Press(kThread, "Select Tape");
  ASSERT_NE(WindowTitled(kThread, "SELECT A MASTER TAPE"), nullptr);
  Key(kThread, Qt::Key_Down);
  Press(kThread, "&Select A Tape");
  ASSERT_NE(WindowTitled(kThread, "Compilation Items"), nullptr);
  EXPECT_EQ(Column(kThread, kItemDescription),
            (std::vector<std::string>{"ITEM 2.1", "ITEM 2.2", "ITEM 2.3"}));

  Press(kThread, "Select Tape");
  ASSERT_NE(WindowTitled(kThread, "SELECT A MASTER TAPE"), nullptr);
  Key(kThread, Qt::Key_Up);
  Press(kThread, "&Select A Tape");
  ASSERT_NE(WindowTitled(kThread, "Compilation Items"), nullptr);
  EXPECT_EQ(Column(kThread, kItemDescription), (std::vector<std::string>{"ITEM 1.1", "ITEM 1.2"}));

  // Closing the select without a choice leaves the tape as it was.
  Press(kThread, "Select Tape");
  ASSERT_NE(WindowTitled(kThread, "SELECT A MASTER TAPE"), nullptr);
  Key(kThread, Qt::Key_Down);
  Key(kThread, Qt::Key_Down);
  Press(kThread, "Close");
  ASSERT_NE(WindowTitled(kThread, "Compilation Items"), nullptr);
  EXPECT_EQ(Column(kThread, kItemDescription), (std::vector<std::string>{"ITEM 1.1", "ITEM 1.2"}));

  insertedForTape = -1;
  Press(kThread, "&Insert");
  EXPECT_EQ(insertedForTape, 1);
}

}  // namespace
}  // namespace rk::testing
