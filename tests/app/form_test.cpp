// The update forms as a person uses them: opened from a browse's buttons,
// filled in with keys, saved with OK or left with Cancel, and what they stored
// read back from the files afterwards, field by field, with the files checked.
#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <string>
#include <vector>

#include "app/collection_files.h"
#include "app/form_spec.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/qt/drop_face_widget.h"
#include "runtime/platform/qt/entry_widget.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/windows/control.h"
#include "tests/app/browse_fixture.h"
#include "tools/defc/definition_source.h"

namespace rk::testing {
namespace {

constexpr int32_t kBrowseTapesItem = -6;
constexpr int32_t kBrowseVideosItem = -9;
constexpr int32_t kBrowseSubjectItem = -15;
constexpr int32_t kThread = 2;
constexpr int32_t kSecondThread = 3;
constexpr const char* kTapes = "USER COMPILED TAPES";

constexpr int32_t kTapeTitle = 4;
constexpr int32_t kTapeManufacturer = 20;
constexpr int32_t kTapeSerial = 30;
constexpr int32_t kTapeItemList = 23;
constexpr int32_t kItemDescription = 5;
constexpr int32_t kItemDate = 7;
constexpr int32_t kItemStart = 9;
constexpr int32_t kItemEnd = 11;
constexpr int32_t kItemRunningTime = 13;
constexpr int32_t kSubjectName = 3;
constexpr int32_t kVideoTitle = 4;
constexpr int32_t kVideoSubject = 38;
constexpr int32_t kVideoStars = 40;

class FormTest : public BrowseTest {
 protected:
  void OpenBrowse(int32_t menuItem, const std::string& title) {
    StartProgram();
    Choose(menuItem);
    ASSERT_NE(WindowTitled(kThread, title), nullptr);
  }
  // What the control shows: an entry's text or a label's.
  std::string Shown(int32_t control, int32_t thread = kThread) {
    QWidget* widget = ControlWidget(thread, control);
    if (auto* entry = dynamic_cast<platform::EntryWidget*>(widget)) {
      std::string text = entry->State().text;
      text.erase(text.find_last_not_of(' ') + 1);
      return text;
    }
    if (auto* label = dynamic_cast<QLabel*>(widget)) return label->text().trimmed().toStdString();
    return {};
  }
  // Gives the field the focus, as a click into it does.
  void Focus(int32_t control) {
    QWidget* widget = ControlWidget(kThread, control);
    ASSERT_NE(widget, nullptr);
    widget->setFocus();
    RunUntil([] { return false; }, 50);
  }
  // An empty subject offers the select as soon as the field takes the focus;
  // closing it leaves the field to be typed into.
  void EnterSubjectField() {
    Focus(kVideoSubject);
    ASSERT_NE(WindowTitled(kThread, "Select a SUBJECT"), nullptr);
    Press(kThread, "Close");
    ASSERT_NE(WindowTitled(kThread, "Adding a videos Record"), nullptr);
  }
  // Turns the form's sheet to the tab, as a click on it does.
  void ShowTab(int index) {
    QWidget* sheet = ControlWidget(kThread, 1);
    ASSERT_NE(sheet, nullptr);
    QTabBar* tabs = sheet->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(index);
    RunUntil([] { return false; }, 50);
  }
  int32_t ChoiceOf(int32_t control) {
    Window* window = Current(kThread);
    Control* found = window ? window->FindControl(control) : nullptr;
    return found ? found->Choice() : -1;
  }
  std::string MessageText() {
    MessageTitle();  // waits for the box
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* box = dynamic_cast<platform::MessageDialog*>(widget); box && box->isVisible()) {
        std::string text;
        for (QLabel* label : box->findChildren<QLabel*>()) text += label->text().toStdString();
        return text;
      }
    }
    return {};
  }
  void AddTape(int serial, const std::string& title, const std::string& manufacturer = {}) {
    AddRecords(CollectionFileId::kHtapes, 1, [&](DeclaredFile& tapes, int) {
      tapes.setLong("HTA:SERIAL", serial);
      tapes.setText("HTA:TITLE", title);
      tapes.setText("HTA:MANUFACTURER", manufacturer);
    });
  }
  void AddNames(CollectionFileId id, const char* field, const std::vector<std::string>& names) {
    AddRecords(id, static_cast<int>(names.size()), [&](DeclaredFile& file, int n) {
      file.setText(field, names[static_cast<size_t>(n - 1)]);
    });
  }
};

// Every form binds its window's variables by name in the order the
// definition lists them; a name out of place would bind a field to the wrong
// control.
TEST(FormTables, BindingsFollowEachWindowDefinition) {
  for (const FormSpec& spec : FormSpecs()) {
    SCOPED_TRACE(spec.procedure);
    std::string resource = std::string(spec.tag).substr(std::string(spec.tag).find('$') + 1);
    for (char& c : resource) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string path =
        std::string(RK_TEST_SOURCE_DIR) + "/resources/definitions/" + resource + "_RSC.json";
    std::string problem;
    std::optional<DefinitionSource> source = LoadDefinitionSource(path, problem);
    ASSERT_TRUE(source) << problem;
    bool found = false;
    for (size_t i = 0; i < source->definition.structures.size(); ++i) {
      if (source->definition.structures[i].label != spec.label) continue;
      found = true;
      std::vector<std::string> expected(spec.bindings.begin(), spec.bindings.end());
      EXPECT_EQ(source->variables[i], expected);
    }
    EXPECT_TRUE(found);
  }
}

TEST_F(FormTest, AnInsertedTapeTakesTheHighestSerialPlusOneAndIsStoredAsTyped) {
  for (int serial : {1, 2, 7}) AddTape(serial, "TAPE " + std::to_string(serial));
  OpenBrowse(kBrowseTapesItem, kTapes);
  Press(kThread, "&Insert a New Tape");
  ASSERT_NE(WindowTitled(kThread, "Adding a HTAPES Record"), nullptr);
  EXPECT_EQ(Shown(kTapeSerial), "000008") << "the highest + 1, though 3 to 6 are free";
  Fill(kThread, kTapeTitle, "Wedding video");
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  EXPECT_EQ(SelectedText(kThread, 1), "Wedding video") << "the browse finds the new tape";
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:SERIAL", "HTA:TITLE"}),
            (std::vector<std::string>{"1|TAPE 1", "2|TAPE 2", "7|TAPE 7", "8|Wedding video"}));
  ExpectFilesCheck();
}

// The first tape of an empty file is number 1. Its items, added from the
// form's child list, stay when the tape's insert is cancelled; the tape does
// not. The item's running time is derived from its times.
TEST_F(FormTest, CancellingANewTapeRemovesItButKeepsTheItemsAddedUnderIt) {
  OpenBrowse(kBrowseTapesItem, kTapes);
  Press(kThread, "&Insert a New Tape");
  ASSERT_NE(WindowTitled(kThread, "Adding a HTAPES Record"), nullptr);
  EXPECT_EQ(Shown(kTapeSerial), "000001");
  ShowTab(3);
  Press(kThread, "&Insert");
  ASSERT_NE(WindowTitled(kThread, "Adding a ITEMS Record"), nullptr);
  EXPECT_EQ(Shown(3), "000001") << "the item's tape is primed from the form";
  Fill(kThread, kItemDescription, "Opening ceremony");
  Fill(kThread, kItemDate, "05/01/99");
  Fill(kThread, kItemStart, "10:00");
  Fill(kThread, kItemEnd, "11:30");
  EXPECT_EQ(Shown(kItemRunningTime), "1:30:00");
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, "Adding a HTAPES Record"), nullptr);
  EXPECT_EQ(Column(kThread, 3, kTapeItemList), std::vector<std::string>{"Opening ceremony"})
      << "the child list finds the new item";
  Press(kThread, "Cancel");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  EndProgram();
  EXPECT_TRUE(Stored(CollectionFileId::kHtapes, {"HTA:SERIAL"}).empty());
  EXPECT_EQ(Stored(CollectionFileId::kItems,
                   {"ITE:SERIAL", "ITE:DESCRIPTION", "ITE:START_TIME", "ITE:RUNNING_TIME"}),
            std::vector<std::string>{"1|Opening ceremony|3600001|540001"});
  ExpectFilesCheck();
}

// A new tape stands in the file while its form is open, so a second browse
// can change and save it. Cancelling the insert afterwards keeps what the
// second window saved; a tape nobody else touched is taken back.
TEST_F(FormTest, CancellingANewTapeKeepsWhatAnotherWindowSavedInIt) {
  AddTapes(1);
  OpenBrowse(kBrowseTapesItem, kTapes);
  Press(kThread, "&Insert a New Tape");
  ASSERT_NE(WindowTitled(kThread, "Adding a HTAPES Record"), nullptr);
  EXPECT_EQ(Shown(kTapeSerial), "000002");

  Choose(kBrowseTapesItem);
  ASSERT_NE(WindowTitled(kSecondThread, kTapes), nullptr);
  ASSERT_EQ(Column(kSecondThread, 0).size(), 2u) << "the new tape is in the file";
  Key(kSecondThread, Qt::Key_End);
  Press(kSecondThread, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kSecondThread, "Changing a HTAPES Record"), nullptr);
  EXPECT_EQ(Shown(kTapeSerial, kSecondThread), "000002");
  Fill(kSecondThread, kTapeTitle, "SAVED ELSEWHERE");
  Press(kSecondThread, "OK");
  ASSERT_NE(WindowTitled(kSecondThread, kTapes), nullptr);

  Press(kThread, "Cancel");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  Press(kThread, "&Insert a New Tape");
  ASSERT_NE(WindowTitled(kThread, "Adding a HTAPES Record"), nullptr);
  EXPECT_EQ(Shown(kTapeSerial), "000003");
  Press(kThread, "Cancel");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:SERIAL", "HTA:TITLE"}),
            (std::vector<std::string>{"1|TAPE 001", "2|SAVED ELSEWHERE"}));
  ExpectFilesCheck();
}

TEST_F(FormTest, DeleteAsksFirstAndLeavesTheTapesItems) {
  AddTapes(2);
  AddItems(1, 2);
  OpenBrowse(kBrowseTapesItem, kTapes);
  Press(kThread, "&Delete a Tape");
  EXPECT_EQ(MessageTitle(), "Confirm Delete") << MessageText();
  AnswerMessage("Cancel");
  EXPECT_EQ(Column(kThread, 1), (std::vector<std::string>{"TAPE 001", "TAPE 002"}));
  Press(kThread, "&Delete a Tape");
  EXPECT_EQ(MessageTitle(), "Confirm Delete");
  AnswerMessage("OK");
  EXPECT_TRUE(RunUntil([&] { return Column(kThread, 1).size() == 1; }));
  EXPECT_EQ(Column(kThread, 1), std::vector<std::string>{"TAPE 002"});
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:SERIAL"}), std::vector<std::string>{"2"});
  EXPECT_EQ(Stored(CollectionFileId::kItems, {"ITE:SERIAL"}), (std::vector<std::string>{"1", "1"}));
  ExpectFilesCheck();
}

// The manufacturer list opens on the tape's own manufacturer, and a name no
// longer in the list is shown and kept as it is rather than replaced.
TEST_F(FormTest, TheDropListShowsAndKeepsTheRecordsOwnValue) {
  AddNames(CollectionFileId::kManufacturer, "MAN:MANUFACTURER", {"Agfa", "BASF", "TDK"});
  AddTape(1, "FIRST", "BASF");
  AddTape(2, "SECOND", "Gone");
  OpenBrowse(kBrowseTapesItem, kTapes);
  Press(kThread, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kThread, "Changing a HTAPES Record"), nullptr);
  EXPECT_EQ(ChoiceOf(kTapeManufacturer), 2);
  Fill(kThread, kTapeTitle, "RENAMED");
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  Key(kThread, Qt::Key_Down);
  Press(kThread, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kThread, "Changing a HTAPES Record"), nullptr);
  EXPECT_EQ(ChoiceOf(kTapeManufacturer), 0) << "no name highlighted";
  auto* face = dynamic_cast<platform::DropFaceWidget*>(ControlWidget(kThread, kTapeManufacturer));
  ASSERT_NE(face, nullptr);
  ASSERT_EQ(face->Choice().size(), 1u);
  EXPECT_EQ(face->Choice()[0].text, "Gone") << "the stored value shows as it is";
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:SERIAL", "HTA:TITLE", "HTA:MANUFACTURER"}),
            (std::vector<std::string>{"1|RENAMED|BASF", "2|SECOND|Gone"}));
  ExpectFilesCheck();
}

// A subject that exists is named in message 24 and the form keeps what was
// typed; "Add MORE" stores at once and starts the next.
TEST_F(FormTest, ADuplicateSubjectIsRefusedAndAddMoreStoresAtOnce) {
  AddSubjects({"DRAMA"});
  OpenBrowse(kBrowseSubjectItem, "Browse SUBJECTS");
  Press(kThread, "&Insert");
  ASSERT_NE(WindowTitled(kThread, "Adding a SUBJECT Record"), nullptr);
  Fill(kThread, kSubjectName, "DRAMA");
  Press(kThread, "OK");
  EXPECT_EQ(MessageTitle(), "Duplicate Key Error");
  EXPECT_NE(MessageText().find("duplicate entry for the key:SUB:SUBJECTS"), std::string::npos)
      << MessageText();
  AnswerMessage();
  ASSERT_NE(WindowTitled(kThread, "Adding a SUBJECT Record"), nullptr);
  EXPECT_EQ(Shown(kSubjectName), "DRAMA");
  Fill(kThread, kSubjectName, "COMEDY");
  Press(kThread, "Add MORE SUBJECTS");
  EXPECT_EQ(Shown(kSubjectName), "") << "ready for the next subject";
  Fill(kThread, kSubjectName, "NEWS");
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, "Browse SUBJECTS"), nullptr);
  EXPECT_EQ(Column(kThread, 0), (std::vector<std::string>{"COMEDY", "DRAMA", "NEWS"}));
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kSubject, {"SUB:SUBJECT"}),
            (std::vector<std::string>{"COMEDY", "DRAMA", "NEWS"}));
  ExpectFilesCheck();
}

// A subject not in SUBJECT opens the select at the first subject after it,
// and the chosen one takes its place. Star ratings outside 1 to 3 are refused.
TEST_F(FormTest, AVideosSubjectIsChosenFromTheSelectAndItsStarsLieWithinOneToThree) {
  AddSubjects({"DRAMA", "WESTERN"});
  OpenBrowse(kBrowseVideosItem, "BROWSE THE VIDEO LIBRARY");
  Press(kThread, "&Insert A New Tape");
  ASSERT_NE(WindowTitled(kThread, "Adding a videos Record"), nullptr);
  Fill(kThread, kVideoTitle, "High Noon");
  ShowTab(2);
  EnterSubjectField();
  Fill(kThread, kVideoSubject, "COWBOYS");
  ASSERT_NE(WindowTitled(kThread, "Select a SUBJECT"), nullptr);
  EXPECT_EQ(SelectedText(kThread, 0), "DRAMA") << "opens at the first subject after it";
  Press(kThread, "&Select");
  ASSERT_NE(WindowTitled(kThread, "Adding a videos Record"), nullptr);
  EXPECT_EQ(Shown(kVideoSubject), "DRAMA");
  for (const char* stars : {"0", "4"}) {
    Fill(kThread, kVideoStars, stars);
    EXPECT_EQ(MessageTitle(), "Range Error") << stars;
    EXPECT_NE(MessageText().find("VID:STAR_RATING must be between 1 and 3"), std::string::npos)
        << MessageText();
    AnswerMessage();
  }
  Fill(kThread, kVideoStars, "2");
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, "BROWSE THE VIDEO LIBRARY"), nullptr);
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kVideos,
                   {"VID:SERIAL", "VID:TITLE", "VID:SUBJECT", "VID:STAR_RATING"}),
            std::vector<std::string>{"1|High Noon|DRAMA|2"});
  ExpectFilesCheck();
}

// A subject left unchosen keeps the focus and keeps OK from completing; the
// select does not reopen by itself when the field takes the focus back.
TEST_F(FormTest, AnUnknownSubjectLeftUnchosenKeepsOkFromCompleting) {
  AddSubjects({"DRAMA"});
  OpenBrowse(kBrowseVideosItem, "BROWSE THE VIDEO LIBRARY");
  Press(kThread, "&Insert A New Tape");
  ASSERT_NE(WindowTitled(kThread, "Adding a videos Record"), nullptr);
  ShowTab(2);
  EnterSubjectField();
  Fill(kThread, kVideoSubject, "COWBOYS");
  ASSERT_NE(WindowTitled(kThread, "Select a SUBJECT"), nullptr);
  Press(kThread, "Close");
  ASSERT_NE(WindowTitled(kThread, "Adding a videos Record"), nullptr);
  RunUntil([] { return false; }, 200);
  EXPECT_EQ(Current(kThread)->title, "Adding a videos Record") << "the select stays closed";
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, "Select a SUBJECT"), nullptr) << "OK looks the subject up";
  Press(kThread, "Close");
  ASSERT_NE(WindowTitled(kThread, "Adding a videos Record"), nullptr) << "OK did not complete";
  EXPECT_EQ(Shown(kVideoSubject), "COWBOYS");
  Press(kThread, "Cancel");
  ASSERT_NE(WindowTitled(kThread, "BROWSE THE VIDEO LIBRARY"), nullptr);
  EndProgram();
  EXPECT_TRUE(Stored(CollectionFileId::kVideos, {"VID:SERIAL"}).empty())
      << "the numbered insert is taken back";
  ExpectFilesCheck();
}

// Two browses on two threads change the same tape: the one that saves second
// is told that the other station changed it, and the file keeps the first.
TEST_F(FormTest, AChangeOvertakenByAnotherStationIsRefusedWith89) {
  AddTapes(1);
  OpenBrowse(kBrowseTapesItem, kTapes);
  Choose(kBrowseTapesItem);
  ASSERT_NE(WindowTitled(kSecondThread, kTapes), nullptr);
  Press(kThread, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kThread, "Changing a HTAPES Record"), nullptr);
  Press(kSecondThread, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kSecondThread, "Changing a HTAPES Record"), nullptr);
  Fill(kSecondThread, kTapeTitle, "SECOND STATION");
  Press(kSecondThread, "OK");
  ASSERT_NE(WindowTitled(kSecondThread, kTapes), nullptr);

  Fill(kThread, kTapeTitle, "FIRST STATION");
  Press(kThread, "OK");
  EXPECT_EQ(MessageTitle(), "Update Operation Error");
  EXPECT_NE(MessageText().find("Probable Cause: Record Changed by Another Station."),
            std::string::npos)
      << MessageText();
  AnswerMessage();
  EXPECT_EQ(MessageTitle(), "Record Update Error");
  AnswerMessage("&No");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:TITLE"}),
            std::vector<std::string>{"SECOND STATION"});
  ExpectFilesCheck();
}

// A PUT that fails underneath (the disk full) is reported; the form stays
// open, and the record is written once the fault is gone.
TEST_F(FormTest, AFailedWriteIsReportedAndTheFormStaysOpen) {
  AddTapes(1);
  OpenBrowse(kBrowseTapesItem, kTapes);
  Press(kThread, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kThread, "Changing a HTAPES Record"), nullptr);
  Fill(kThread, kTapeTitle, "CHANGED");
  constexpr int32_t kDiskFull = 339;  // 300 + ENOSPC
  SetDriverFault(
      [](int32_t code, const FileDescriptor&) { return code == kOpPut ? kDiskFull : 0; });
  Press(kThread, "OK");
  EXPECT_EQ(MessageTitle(), "Update Operation Error");
  AnswerMessage();
  EXPECT_EQ(MessageTitle(), "Record Update Error");
  AnswerMessage("Cancel");
  ASSERT_NE(WindowTitled(kThread, "Changing a HTAPES Record"), nullptr);
  EXPECT_EQ(Shown(kTapeTitle), "CHANGED");
  SetDriverFault({});
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:TITLE"}), std::vector<std::string>{"CHANGED"});
  ExpectFilesCheck();
}

// A transaction that cannot begin writes nothing: message 34 names the
// operation and the file, and message 16 offers to try again.
TEST_F(FormTest, AChangeWhoseTransactionCannotBeginWritesNothing) {
  AddTapes(1);
  OpenBrowse(kBrowseTapesItem, kTapes);
  Press(kThread, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kThread, "Changing a HTAPES Record"), nullptr);
  Fill(kThread, kTapeTitle, "NEVER STORED");
  constexpr int32_t kUnableToLog = 48;
  SetDriverFault(
      [](int32_t code, const FileDescriptor&) { return code == kOpLogout ? kUnableToLog : 0; });
  Press(kThread, "OK");
  EXPECT_EQ(MessageTitle(), "Transaction Framing Error");
  EXPECT_NE(MessageText().find("attempting to frame the Update transaction on HTAPES."),
            std::string::npos)
      << MessageText();
  AnswerMessage();
  EXPECT_EQ(MessageTitle(), "Record Update Error");
  AnswerMessage("&No");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);
  EXPECT_EQ(Column(kThread, 1), std::vector<std::string>{"TAPE 001"});
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:TITLE"}), std::vector<std::string>{"TAPE 001"});
  ExpectFilesCheck();
}

// Another station taking the number first makes the ADD fail on the unique
// key; the number is taken afresh, three times before the user is asked, and
// Retry starts over.
TEST_F(FormTest, NumberingRetriesWhenAnotherStationTakesTheNumber) {
  AddTapes(2);
  OpenBrowse(kBrowseTapesItem, kTapes);
  int failures = 4;
  SetDriverFault([&failures](int32_t code, const FileDescriptor&) {
    return code == kOpAdd && failures-- > 0 ? 40 : 0;
  });
  Press(kThread, "&Insert a New Tape");
  EXPECT_EQ(MessageTitle(), "Auto Increment Error") << "after the third failure";
  AnswerMessage("&Retry");
  ASSERT_NE(WindowTitled(kThread, "Adding a HTAPES Record"), nullptr);
  EXPECT_EQ(failures, -1) << "one more failure after the retry, then the ADD went through";
  EXPECT_EQ(Shown(kTapeSerial), "000003");
  Fill(kThread, kTapeTitle, "RETRIED");
  Press(kThread, "OK");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr);

  failures = 3;
  Press(kThread, "&Insert a New Tape");
  EXPECT_EQ(MessageTitle(), "Auto Increment Error");
  AnswerMessage("Cancel");
  ASSERT_NE(WindowTitled(kThread, kTapes), nullptr) << "Cancel closes the form unopened";
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:SERIAL", "HTA:TITLE"}),
            (std::vector<std::string>{"1|TAPE 001", "2|TAPE 002", "3|RETRIED"}));
  ExpectFilesCheck();
}

// A delete that fails underneath is reported (17) and offered again (18);
// Yes tries again, and the record goes once the fault is gone.
TEST_F(FormTest, AFailedDeleteIsOfferedAgain) {
  AddTapes(2);
  OpenBrowse(kBrowseTapesItem, kTapes);
  SetDriverFault([](int32_t code, const FileDescriptor&) { return code == kOpDelete ? 5 : 0; });
  Press(kThread, "&Delete a Tape");
  EXPECT_EQ(MessageTitle(), "Confirm Delete");
  AnswerMessage("OK");
  EXPECT_EQ(MessageTitle(), "Delete Operation Error");
  EXPECT_NE(MessageText().find("delete a record from the file HTAPES."), std::string::npos)
      << MessageText();
  AnswerMessage();
  EXPECT_EQ(MessageTitle(), "Record Update Error");
  SetDriverFault({});
  AnswerMessage("&Yes");
  EXPECT_TRUE(RunUntil([&] { return Column(kThread, 1).size() == 1; }));
  EXPECT_EQ(Column(kThread, 1), std::vector<std::string>{"TAPE 002"});
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:SERIAL"}), std::vector<std::string>{"2"});
  ExpectFilesCheck();
}

}  // namespace
}  // namespace rk::testing
