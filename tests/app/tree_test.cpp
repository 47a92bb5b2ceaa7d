// The two trees as a person uses them: chosen from the menu, opened and closed
// with a click on a node's box, moved through with the arrow keys, and
// changed through the buttons and the popup, which call the update forms.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <string>
#include <vector>

#include "app/collection_files.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/windows/thread_slots.h"
#include "tests/app/browse_fixture.h"
#include "tools/drive/program_driver.h"

namespace rk::testing {
namespace {

constexpr int32_t kHomeTreeItem = -12;
constexpr int32_t kCommercialTreeItem = -13;
constexpr int32_t kBrowseTapesItem = -6;
constexpr int32_t kTree = 2;
constexpr int32_t kSecond = 3;
constexpr const char* kHomeTitle = "TREE BROWSE COMPILATIONS";
constexpr const char* kCommercialTitle = "TREE BROWSE COLLECTION";
constexpr int32_t kTapeTitle = 4;
constexpr int32_t kItemDescription = 5;
constexpr int32_t kItemDate = 7;
constexpr int32_t kItemStart = 9;
constexpr int32_t kItemEnd = 11;

using platform::ListNode;

class TreeTest : public BrowseTest {
 protected:
  void OpenTree(int32_t item = kHomeTreeItem, const char* title = kHomeTitle) {
    StartProgram();
    Choose(item);
    ASSERT_NE(WindowTitled(kTree, title), nullptr);
  }
  std::vector<std::string> Texts() { return Column(kTree, 0); }
  const platform::ListCellLook& Cell(int shown) {
    return List(kTree)->Rows().at(static_cast<size_t>(shown)).at(0);
  }
  std::vector<ListNode> Nodes() {
    std::vector<ListNode> nodes;
    for (const platform::ListRowLook& row : List(kTree)->Rows()) nodes.push_back(row.at(0).node);
    return nodes;
  }
  std::string Selected() { return SelectedText(kTree, 0); }
  // A left click on the row's expand box.
  void ClickNode(int shown) {
    platform::ListWidget* list = List(kTree);
    ASSERT_NE(list, nullptr);
    QRect box = list->NodeRect(shown);
    ASSERT_FALSE(box.isEmpty()) << "row " << shown << " has no box";
    QPointF at = box.center();
    QMouseEvent press(QEvent::MouseButtonPress, at, list->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, list->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list, &release);
    drive::RunOnce();
    RunUntil([&] { return List(kTree) && List(kTree)->NodeOf(shown) != NodeBefore(shown); }, 500);
  }
  ListNode NodeBefore(int shown) { return Nodes().at(static_cast<size_t>(shown)); }
  void AddItem(int tape) {
    Fill(kTree, kItemDescription, "Added to " + std::to_string(tape));
    Fill(kTree, kItemDate, "05/01/99");
    Fill(kTree, kItemStart, "10:00");
    Fill(kTree, kItemEnd, "11:30");
    Press(kTree, "OK");
    ASSERT_NE(WindowTitled(kTree, kHomeTitle), nullptr);
  }
  void AddVideos(int count) {
    AddRecords(CollectionFileId::kVideos, count, [](DeclaredFile& videos, int n) {
      videos.setLong("VID:SERIAL", n);
      videos.setText("VID:TITLE", "FILM " + std::to_string(n));
    });
  }
  void AddCast(int video, const std::vector<std::string>& performers) {
    AddRecords(CollectionFileId::kCast, static_cast<int>(performers.size()),
               [&](DeclaredFile& cast, int n) {
                 cast.setLong("CAS:SERIAL", video);
                 cast.setText("CAS:PERFORMER", performers[static_cast<size_t>(n - 1)]);
                 cast.setText("CAS:STAR", "LEAD");
               });
  }
};

// Tapes 1 and 3 have items; tape 2 has none.
class HomeTreeTest : public TreeTest {
 protected:
  void SetUp() override {
    TreeTest::SetUp();
    AddTapes(3);
    AddItems(1, 2);
    AddItems(3, 1);
  }
};

TEST_F(HomeTreeTest, ShowsTheRootAndEveryTapeWithABoxOnlyWhereItemsAre) {
  OpenTree();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"COMPILATION", "TAPE 001", "TAPE 002", "TAPE 003"}));
  EXPECT_EQ(Nodes(), (std::vector<ListNode>{ListNode::kOpen, ListNode::kClosed, ListNode::kNone,
                                            ListNode::kClosed}));
  EXPECT_EQ(Cell(1).level, 1);
  EXPECT_EQ(Cell(2).level, -1);
  EXPECT_EQ(Selected(), "COMPILATION");
}

TEST_F(HomeTreeTest, AClickOnTheBoxOpensAndClosesATape) {
  OpenTree();
  ClickNode(1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "COMPILATION", "TAPE 001", " ITEM 1.1 ...SOURCE -  ...SUBJECT -",
                         " ITEM 1.2 ...SOURCE -  ...SUBJECT -", "TAPE 002", "TAPE 003"}));
  EXPECT_EQ(Cell(1).level, -1);
  EXPECT_EQ(Cell(2).level, 2);
  EXPECT_EQ(Nodes()[1], ListNode::kOpen);
  ClickNode(1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"COMPILATION", "TAPE 001", "TAPE 002", "TAPE 003"}));
  EXPECT_EQ(Nodes()[1], ListNode::kClosed) << "closed again, the tape can still be opened";
}

// The keyboard does what a click on the box does: Right or '+' opens the
// selected tape, Left or '-' closes it.
TEST_F(HomeTreeTest, RightAndLeftOpenAndCloseTheSelectedTape) {
  OpenTree();
  Key(kTree, Qt::Key_Down);
  ASSERT_EQ(Selected(), "TAPE 001");
  Key(kTree, Qt::Key_Right);
  RunUntil([&] { return Texts().size() == 6; }, 500);
  EXPECT_EQ(Nodes()[1], ListNode::kOpen);
  EXPECT_EQ(Texts().size(), 6u) << "the tape's two items are shown";
  Key(kTree, Qt::Key_Left);
  RunUntil([&] { return Texts().size() == 4; }, 500);
  EXPECT_EQ(Nodes()[1], ListNode::kClosed);
  Key(kTree, Qt::Key_Plus, Qt::NoModifier, "+");
  RunUntil([&] { return Texts().size() == 6; }, 500);
  EXPECT_EQ(Nodes()[1], ListNode::kOpen);
  Key(kTree, Qt::Key_Minus, Qt::NoModifier, "-");
  RunUntil([&] { return Texts().size() == 4; }, 500);
  EXPECT_EQ(Nodes()[1], ListNode::kClosed);
}

TEST_F(HomeTreeTest, ATapeWithoutItemsGainsABoxWithItsFirstItem) {
  OpenTree();
  Key(kTree, Qt::Key_Down);
  Key(kTree, Qt::Key_Down);
  ASSERT_EQ(Selected(), "TAPE 002");
  Press(kTree, "&Insert");
  ASSERT_NE(WindowTitled(kTree, "Adding a ITEMS Record"), nullptr);
  AddItem(2);
  EXPECT_EQ(Nodes()[2], ListNode::kClosed);
  EXPECT_EQ(Selected(), "TAPE 002") << "the new item's tape, which stays closed";
  ClickNode(2);
  EXPECT_EQ(Texts().at(3), " Added to 2 ...SOURCE -  ...SUBJECT -");
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kItems, {"ITE:SERIAL", "ITE:DESCRIPTION"}),
            (std::vector<std::string>{"1|ITEM 1.1", "1|ITEM 1.2", "2|Added to 2", "3|ITEM 3.1"}));
}

TEST_F(HomeTreeTest, AnOpenTapeStaysOpenAfterATapeIsInsertedOnTheRoot) {
  OpenTree();
  ClickNode(3);
  ASSERT_EQ(Texts().size(), 5u);
  Click(kTree, 0);
  ASSERT_EQ(Selected(), "COMPILATION");
  Press(kTree, "&Insert");
  ASSERT_NE(WindowTitled(kTree, "Adding a HTAPES Record"), nullptr);
  Fill(kTree, kTapeTitle, "NEW TAPE");
  Press(kTree, "OK");
  ASSERT_NE(WindowTitled(kTree, kHomeTitle), nullptr);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"COMPILATION", "TAPE 001", "TAPE 002", "TAPE 003",
                                               " ITEM 3.1 ...SOURCE -  ...SUBJECT -", "NEW TAPE"}));
  EXPECT_EQ(Nodes()[3], ListNode::kOpen);
  EXPECT_EQ(Selected(), "NEW TAPE");
}

TEST_F(HomeTreeTest, InsertingWithAnItemSelectedAddsToThatItemsTape) {
  OpenTree();
  ClickNode(3);
  Key(kTree, Qt::Key_End);
  ASSERT_EQ(Selected(), " ITEM 3.1 ...SOURCE -  ...SUBJECT -");
  Click(kTree, 4, Qt::RightButton);
  QMenu* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(PopupItems(*popup), (std::vector<std::string>{"&Insert", "&Change", "&Delete"}));
  ChooseFromPopup("&Insert");
  ASSERT_NE(WindowTitled(kTree, "Adding a ITEMS Record"), nullptr);
  AddItem(3);
  EXPECT_EQ(Texts().at(5), " Added to 3 ...SOURCE -  ...SUBJECT -");
  EXPECT_EQ(Selected(), " Added to 3 ...SOURCE -  ...SUBJECT -");
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kItems, {"ITE:SERIAL", "ITE:DESCRIPTION"}),
            (std::vector<std::string>{"1|ITEM 1.1", "1|ITEM 1.2", "3|ITEM 3.1", "3|Added to 3"}));
}

TEST_F(HomeTreeTest, ChangeAndDeleteGoToTheSelectedEntrysOwnForm) {
  OpenTree();
  ClickNode(1);
  ASSERT_EQ(Selected(), "TAPE 001") << "a click on the box selects its row";
  Key(kTree, Qt::Key_Down);
  ASSERT_EQ(Selected(), " ITEM 1.1 ...SOURCE -  ...SUBJECT -");
  Press(kTree, "&Change");
  ASSERT_NE(WindowTitled(kTree, "Changing a ITEMS Record"), nullptr);
  Fill(kTree, kItemDescription, "RENAMED");
  Press(kTree, "OK");
  ASSERT_NE(WindowTitled(kTree, kHomeTitle), nullptr);
  EXPECT_EQ(Selected(), " RENAMED ...SOURCE -  ...SUBJECT -") << ::testing::PrintToString(Texts());

  Key(kTree, Qt::Key_Up);
  ASSERT_EQ(Selected(), "TAPE 001");
  Press(kTree, "&Change");
  ASSERT_NE(WindowTitled(kTree, "Changing a HTAPES Record"), nullptr);
  Press(kTree, "Cancel");
  ASSERT_NE(WindowTitled(kTree, kHomeTitle), nullptr);

  Key(kTree, Qt::Key_End);
  ASSERT_EQ(Selected(), "TAPE 003");
  Press(kTree, "&Delete");
  EXPECT_EQ(MessageTitle(), "Confirm Delete");
  AnswerMessage("OK");
  ASSERT_NE(WindowTitled(kTree, kHomeTitle), nullptr);
  EXPECT_EQ(Texts().back(), "TAPE 002");
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:TITLE"}),
            (std::vector<std::string>{"TAPE 001", "TAPE 002"}));
}

// Each rebuild reads every tape once and one item of each closed tape; an
// open tape's items are read instead of that one item, and only its items.
TEST_F(TreeTest, ARebuildReadsEachParentOnceAndProbesOnlyClosedOnes) {
  constexpr int kTapes = 40;
  AddTapes(kTapes);
  AddItems(3, 30);
  AddItems(8, 7);
  StartProgram();
  uint64_t before = Reads();
  Choose(kHomeTreeItem);
  ASSERT_NE(WindowTitled(kTree, kHomeTitle), nullptr);
  RunUntil([&] { return Texts().size() > 1; });
  // Every tape, the end of the tapes, and one look at the items per tape.
  EXPECT_EQ(Reads() - before, static_cast<uint64_t>(2 * kTapes + 1));

  // Opening tape 8 reads it again, its 7 items and the item after them.
  before = Reads();
  ClickNode(8);
  EXPECT_EQ(Reads() - before, 1u + 7u + 1u);

  // Two changes of the same tape: with tape 8 open the rebuild reads its 7
  // items and the one after them instead of one look.
  auto changeTape = [&] {
    Click(kTree, 1);
    uint64_t start = Reads();
    Press(kTree, "&Change");
    EXPECT_NE(WindowTitled(kTree, "Changing a HTAPES Record"), nullptr);
    Press(kTree, "OK");
    EXPECT_NE(WindowTitled(kTree, kHomeTitle), nullptr);
    return Reads() - start;
  };
  uint64_t open = changeTape();
  ClickNode(8);
  ASSERT_EQ(Nodes()[8], ListNode::kClosed);
  uint64_t closed = changeTape();
  EXPECT_EQ(open - closed, 7u);
}

TEST_F(HomeTreeTest, ATreeAndABrowseOnTwoThreadsKeepTheirOwnRecords) {
  OpenTree();
  Choose(kBrowseTapesItem);
  ASSERT_NE(WindowTitled(kSecond, "USER COMPILED TAPES"), nullptr);
  Key(kSecond, Qt::Key_Down);
  Key(kSecond, Qt::Key_Down);
  ASSERT_EQ(SelectedText(kSecond, 1), "TAPE 003");

  ClickNode(3);
  Click(kTree, 1);
  ASSERT_EQ(Selected(), "TAPE 001");

  Press(kSecond, "&Change a Tapes Details");
  ASSERT_NE(WindowTitled(kSecond, "Changing a HTAPES Record"), nullptr);
  Fill(kSecond, kTapeTitle, "THIRD");
  Press(kSecond, "OK");
  ASSERT_NE(WindowTitled(kSecond, "USER COMPILED TAPES"), nullptr);

  // The tree's tape 1 is still its own: changing it stores tape 1.
  Press(kTree, "&Change");
  ASSERT_NE(WindowTitled(kTree, "Changing a HTAPES Record"), nullptr);
  Fill(kTree, kTapeTitle, "FIRST");
  Press(kTree, "OK");
  ASSERT_NE(WindowTitled(kTree, kHomeTitle), nullptr);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"COMPILATION", "FIRST", "TAPE 002", "THIRD",
                                               " ITEM 3.1 ...SOURCE -  ...SUBJECT -"}))
      << "the tree shows what the browse stored";
  EndProgram();
  EXPECT_EQ(Stored(CollectionFileId::kHtapes, {"HTA:TITLE"}),
            (std::vector<std::string>{"FIRST", "TAPE 002", "THIRD"}));
}

TEST_F(HomeTreeTest, AReadErrorOnTheItemsNamesThemAndClosesTheTree) {
  StartProgram();
  SetDriverFault([](int32_t code, const FileDescriptor& file) {
    return code == kOpNext && &file == &ITEMS() ? 330 : 0;
  });
  Choose(kHomeTreeItem);
  EXPECT_EQ(MessageTitle(), "Record Retrieval Error");
  std::string text;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (!dynamic_cast<platform::MessageDialog*>(widget) || !widget->isVisible()) continue;
    for (QLabel* label : widget->findChildren<QLabel*>()) text += label->text().toStdString();
  }
  EXPECT_NE(text.find("ITEMS file"), std::string::npos) << text;
  AnswerMessage();
  SetDriverFault({});
  EXPECT_TRUE(RunUntil([] { return UsedSlots() == 1; })) << "the tree has closed";
}

TEST_F(TreeTest, TheCommercialTreeShowsVideosWithTheirCast) {
  AddVideos(2);
  AddCast(2, {"ANN", "BOB"});
  OpenTree(kCommercialTreeItem, kCommercialTitle);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"FILMS", "FILM 1", "FILM 2"}));
  EXPECT_EQ(Nodes()[1], ListNode::kNone);
  ClickNode(2);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"FILMS", "FILM 1", "FILM 2", "NAME - ANN ...STATUS - LEAD",
                                      "NAME - BOB ...STATUS - LEAD"}));
  EXPECT_EQ(Cell(0).icon, 3);
  EXPECT_EQ(Cell(2).icon, 1);
  EXPECT_EQ(Cell(3).icon, 2);
}

// The colours are blue-green-red from the high byte: 0xFF0000 is blue.
TEST_F(HomeTreeTest, ParentsAndItemsAreDrawnInTheirColoursWithTheirIcons) {
  OpenTree();
  ClickNode(1);
  Click(kTree, 0);
  platform::ListWidget* list = List(kTree);
  ASSERT_NE(list, nullptr);
  QImage shot = list->grab().toImage();
  auto pixel = [&](int shown, int x) {
    QRect row = list->RowRect(shown);
    qreal ratio = shot.devicePixelRatio();
    return QColor(shot.pixel(static_cast<int>((row.left() + x) * ratio),
                             static_cast<int>(row.center().y() * ratio)))
        .rgb();
  };
  int farRight = list->RowRect(1).width() - 4;
  EXPECT_EQ(pixel(1, farRight), QColor(0, 0, 255).rgb()) << "a tape's background";
  EXPECT_EQ(pixel(2, farRight), QColor(192, 192, 192).rgb()) << "an item's background";

  // The icons: what is drawn after the box differs from the background, and
  // the tape's icon differs from the item's.
  ASSERT_EQ(list->Icons().size(), 3u);
  for (const QImage& icon : list->Icons()) EXPECT_FALSE(icon.isNull());
  EXPECT_EQ(Cell(1).icon, 3);
  EXPECT_EQ(Cell(2).icon, 2);
  auto strip = [&](int shown) {
    QRect box = list->NodeRect(1);
    int from = box.right() + list->RowRect(1).height();
    std::vector<QRgb> colours;
    for (int x = from; x < from + 3 * list->RowRect(1).height(); ++x) {
      colours.push_back(pixel(shown, x));
    }
    return colours;
  };
  auto differs = [](const std::vector<QRgb>& colours, QRgb background) {
    return std::any_of(colours.begin(), colours.end(), [&](QRgb c) { return c != background; });
  };
  EXPECT_TRUE(differs(strip(1), QColor(0, 0, 255).rgb()));
  EXPECT_TRUE(differs(strip(2), QColor(192, 192, 192).rgb()));
}

}  // namespace
}  // namespace rk::testing
