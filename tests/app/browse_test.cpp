// The browses as a person uses them: chosen from the menu, paged and scrolled
// with keys and the thumb, ordered by the sheet's tabs, calling their update
// procedure and their child browses, and reading no more than each step needs.
#include <QScrollBar>
#include <QTabBar>
#include <algorithm>
#include <string>
#include <vector>

#include "app/collection_files.h"
#include "app/procedure_table.h"
#include "app/thread_globals.h"
#include "runtime/core/error_state.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/operation_codes.h"
#include "runtime/windows/control.h"
#include "runtime/windows/thread_slots.h"
#include "tests/app/browse_fixture.h"

namespace rk::testing {
namespace {

constexpr int32_t kBrowseTapesItem = -6;
constexpr int32_t kBrowseItemsItem = -7;
constexpr int32_t kBrowseSubjectItem = -15;
constexpr int32_t kBrowseThread = 2;
constexpr size_t kTitleColumn = 1;
constexpr const char* kTapesTitle = "USER COMPILED TAPES";

std::vector<std::string> TapeTitles(int first, int last) {
  std::vector<std::string> titles;
  for (int n = first; n <= last; ++n) {
    std::string number = std::to_string(n);
    titles.push_back("TAPE " + std::string(3 - number.size(), '0') + number);
  }
  return titles;
}

class TapeBrowseTest : public BrowseTest {
 protected:
  // Opens the tape browse on a collection of `tapes` tapes; returns the rows shown.
  int OpenTapes(int tapes) {
    if (tapes > 0) AddTapes(tapes);
    StartProgram();
    Choose(kBrowseTapesItem);
    EXPECT_NE(WindowTitled(kBrowseThread, kTapesTitle), nullptr);
    return List(kBrowseThread) ? List(kBrowseThread)->WholeRowsShown() : 0;
  }
  std::vector<std::string> Titles() { return Column(kBrowseThread, kTitleColumn); }
  std::string Selected() { return SelectedText(kBrowseThread, kTitleColumn); }
  void KeyIn(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Key(kBrowseThread, key, modifiers);
  }
};

TEST_F(TapeBrowseTest, PagesThroughTheFileReadingOnlyWhatEachStepShows) {
  int page = OpenTapes(60);
  ASSERT_GE(page, 5);
  ASSERT_LT(page, 30);
  EXPECT_EQ(Titles(), TapeTitles(1, page));
  EXPECT_EQ(Selected(), "TAPE 001");
  EXPECT_TRUE(List(kBrowseThread)->ScrollBarShown());

  uint64_t before = Reads();
  KeyIn(Qt::Key_Down);
  EXPECT_EQ(Selected(), "TAPE 002");
  EXPECT_EQ(Reads(), before) << "a move inside the page reads nothing";

  before = Reads();
  KeyIn(Qt::Key_PageDown);
  EXPECT_EQ(Titles(), TapeTitles(page + 1, 2 * page));
  EXPECT_EQ(Selected(), TapeTitles(page + 2, page + 2)[0]);
  EXPECT_LE(Reads() - before, static_cast<uint64_t>(page + 2));

  // To the last row shown, then one line past it: one record is read.
  for (int i = 2; i < page; ++i) KeyIn(Qt::Key_Down);
  ASSERT_EQ(Titles(), TapeTitles(page + 1, 2 * page));
  ASSERT_EQ(Selected(), TapeTitles(2 * page, 2 * page)[0]);
  before = Reads();
  KeyIn(Qt::Key_Down);
  EXPECT_EQ(Titles(), TapeTitles(page + 2, 2 * page + 1));
  EXPECT_EQ(Selected(), TapeTitles(2 * page + 1, 2 * page + 1)[0]);
  EXPECT_EQ(Reads() - before, 1u);

  KeyIn(Qt::Key_End);
  EXPECT_EQ(Titles(), TapeTitles(61 - page, 60));
  EXPECT_EQ(Selected(), "TAPE 060");
  KeyIn(Qt::Key_PageDown);
  EXPECT_EQ(Titles(), TapeTitles(61 - page, 60)) << "nothing lies beyond the last page";
  EXPECT_EQ(Selected(), "TAPE 060");

  KeyIn(Qt::Key_Home);
  EXPECT_EQ(Titles(), TapeTitles(1, page));
  EXPECT_EQ(Selected(), "TAPE 001");
  KeyIn(Qt::Key_Up);
  EXPECT_EQ(Selected(), "TAPE 001");
}

TEST_F(TapeBrowseTest, AnEmptyFileOffersOnlyInsert) {
  OpenTapes(0);
  EXPECT_TRUE(Titles().empty());
  EXPECT_FALSE(Button(kBrowseThread, "&Change a Tapes Details")->isEnabled());
  EXPECT_FALSE(Button(kBrowseThread, "&Delete a Tape")->isEnabled());
  EXPECT_TRUE(Button(kBrowseThread, "&Insert a New Tape")->isEnabled());

  Click(kBrowseThread, 0, Qt::RightButton);
  QMenu* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(PopupItems(*popup),
            (std::vector<std::string>{"&Insert a New Tape", "~&Change a Tapes Details",
                                      "~&Delete a Tape"}));
  popup->close();
  drive::RunOnce();

  KeyIn(Qt::Key_Delete);
  EXPECT_EQ(MessageTitle(), "") << "Delete is not answered without records";
  KeyIn(Qt::Key_Insert);
  ASSERT_NE(WindowTitled(kBrowseThread, "Adding a HTAPES Record"), nullptr)
      << "Insert calls UPDATEHTAPES";
  Press(kBrowseThread, "Cancel");
  ASSERT_NE(WindowTitled(kBrowseThread, kTapesTitle), nullptr);
  EXPECT_TRUE(Titles().empty()) << "a cancelled insert leaves no tape";
}

TEST_F(TapeBrowseTest, FewerRecordsThanRowsHideTheScrollBarAndStopAtTheEnd) {
  OpenTapes(3);
  EXPECT_EQ(Titles(), TapeTitles(1, 3));
  KeyIn(Qt::Key_Down);
  KeyIn(Qt::Key_Down);
  EXPECT_EQ(Selected(), "TAPE 003");
  EXPECT_FALSE(List(kBrowseThread)->ScrollBarShown());
  KeyIn(Qt::Key_Down);
  EXPECT_EQ(Titles(), TapeTitles(1, 3));
  EXPECT_EQ(Selected(), "TAPE 003");
  KeyIn(Qt::Key_PageUp);
  EXPECT_EQ(Selected(), "TAPE 001") << "a short page up moves the selection by what was missing";
}

TEST_F(TapeBrowseTest, DraggingTheThumbToTheEndsScrollsToTopAndBottom) {
  int page = OpenTapes(200);
  QScrollBar& bar = List(kBrowseThread)->ScrollBar();
  auto drag = [&](int position) {
    bar.setSliderPosition(position);
    emit bar.sliderReleased();
    drive::RunOnce();
  };
  drag(100);
  EXPECT_EQ(Titles(), TapeTitles(201 - page, 200));
  EXPECT_EQ(Selected(), "TAPE 200");
  drag(0);
  EXPECT_EQ(Titles(), TapeTitles(1, page));
  EXPECT_EQ(Selected(), "TAPE 001");

  // Half way: the table entry names a serial number near the middle.
  uint64_t before = Reads();
  drag(50);
  std::string middle = Selected();
  ASSERT_FALSE(middle.empty());
  int serial = std::stoi(middle.substr(5));
  EXPECT_GE(serial, 95);
  EXPECT_LE(serial, 105);
  EXPECT_LE(Reads() - before, static_cast<uint64_t>(page + 3));
}

TEST_F(TapeBrowseTest, TheTitleTabOrdersByTitleAndKeepsTheSelectedTape) {
  AddTapes(30, [](int n) {
    return "TITLE " + std::string(1, static_cast<char>('Z' - n % 26)) + std::to_string(n);
  });
  StartProgram();
  Choose(kBrowseTapesItem);
  ASSERT_NE(WindowTitled(kBrowseThread, kTapesTitle), nullptr);
  KeyIn(Qt::Key_Down);
  KeyIn(Qt::Key_Down);
  std::string chosen = Selected();
  auto* tabs = Current(kBrowseThread)->FindControl(5)->Widget()->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  tabs->setCurrentIndex(1);
  drive::RunOnce();
  std::vector<std::string> titles = Titles();
  ASSERT_FALSE(titles.empty());
  EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end()));
  EXPECT_EQ(Selected(), chosen);
}

// A stand-in for the tape form: it deletes the record the browse hands it.
void DeletingTapeForm() {
  if (GlobalRequest() == kRequestDelete) {
    DELETE(HTAPES());
    GlobalResponse() = ErrorCode() == 0 ? kResponseCompleted : kResponseCancelled;
  }
}

TEST_F(TapeBrowseTest, DeletingTheLastRowSelectsTheNewLastRow) {
  RegisterProcedure("UPDATEHTAPES", DeletingTapeForm);
  OpenTapes(5);
  KeyIn(Qt::Key_End);
  ASSERT_EQ(Selected(), "TAPE 005");
  KeyIn(Qt::Key_Delete);
  EXPECT_EQ(Titles(), TapeTitles(1, 4));
  EXPECT_EQ(Selected(), "TAPE 004");
  EXPECT_TRUE(Button(kBrowseThread, "&Delete a Tape")->isEnabled());
  for (int i = 0; i < 4; ++i) KeyIn(Qt::Key_Delete);
  EXPECT_TRUE(Titles().empty());
  EXPECT_FALSE(Button(kBrowseThread, "&Delete a Tape")->isEnabled());
}

TEST_F(TapeBrowseTest, TwoBrowsesOfOneFileKeepTheirOwnPlaceAndFile) {
  int page = OpenTapes(60);
  Choose(kBrowseTapesItem);
  constexpr int32_t kSecond = 3;
  ASSERT_NE(WindowTitled(kSecond, kTapesTitle), nullptr);
  KeyIn(Qt::Key_PageDown);
  EXPECT_EQ(Column(kSecond, kTitleColumn), TapeTitles(1, page));
  EXPECT_EQ(Titles(), TapeTitles(page + 1, 2 * page));

  // The first browse closes its file; the second one's stays open and readable.
  Press(kBrowseThread, "Close");
  ASSERT_TRUE(RunUntil([] { return UsedSlots() == 2; }));
  Key(kSecond, Qt::Key_PageDown);
  EXPECT_EQ(MessageTitle(), "");
  EXPECT_EQ(Column(kSecond, kTitleColumn), TapeTitles(page + 1, 2 * page));
}

TEST_F(TapeBrowseTest, AReadErrorClosesTheBrowseAndTheProgramGoesOn) {
  AddSubjects({"ACTION", "DRAMA"});
  OpenTapes(60);
  Choose(kBrowseSubjectItem);
  constexpr int32_t kSubjects = 3;
  ASSERT_NE(WindowTitled(kSubjects, "Browse SUBJECTS"), nullptr);
  SetDriverFault([](int32_t code, const FileDescriptor& file) {
    return code == kOpNext && &file == &HTAPES() ? 330 : 0;
  });
  KeyIn(Qt::Key_PageDown);
  EXPECT_EQ(MessageTitle(), "Record Retrieval Error");
  AnswerMessage();
  SetDriverFault({});
  EXPECT_TRUE(RunUntil([] { return UsedSlots() == 2; })) << "the tape browse has closed";
  EXPECT_EQ(Column(kSubjects, 0), (std::vector<std::string>{"ACTION", "DRAMA"}));
  Key(kSubjects, Qt::Key_Down);
  EXPECT_EQ(SelectedText(kSubjects, 0), "DRAMA");
}

TEST_F(TapeBrowseTest, TheContentsButtonBrowsesTheSelectedTapesItems) {
  AddItems(1, 2);
  AddItems(2, 3);
  AddItems(3, 1);
  OpenTapes(3);
  KeyIn(Qt::Key_Down);
  Press(kBrowseThread, "COMPILATION CONTENTS");
  ASSERT_NE(WindowTitled(kBrowseThread, "COMPILATION CONTENTS"), nullptr);
  constexpr size_t kDescription = 6;
  EXPECT_EQ(Column(kBrowseThread, kDescription),
            (std::vector<std::string>{"ITEM 2.1", "ITEM 2.2", "ITEM 2.3"}));
  Press(kBrowseThread, "Close");
  ASSERT_NE(WindowTitled(kBrowseThread, kTapesTitle), nullptr);
  EXPECT_EQ(Selected(), "TAPE 002");
}

}  // namespace
}  // namespace rk::testing
