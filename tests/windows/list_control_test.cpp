// The list box on a window: what keys, clicks and the scroll bar post in each
// mode, the locator, tree nodes and their drawing, and the rows that fit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/type_codes.h"
#include "runtime/files/queue.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/platform/qt/widget_grab.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_statements.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;
using platform::ListWidget;

// Rows: a name, four colours, an icon and a tree level.
struct Row {
  char name[12];
  int32_t colours[4];
  int16_t icon;
  int32_t level;
};
constexpr FieldSpec kRowFields[] = {
    {"R:NAME", 0, kString, 12}, {"R:FG", 12, kLong},    {"R:BG", 16, kLong},
    {"R:SELFG", 20, kLong},     {"R:SELBG", 24, kLong}, {"R:ICON", 28, kShort},
    {"R:LEVEL", 32, kLong},
};
static_assert(sizeof(Row) == 36);

constexpr int32_t kProgramScrolled = 0x803;

class ListControlTest : public WindowTest {
 protected:
  void Add(const std::string& name, int32_t level = 0,
           std::array<int32_t, 4> colours = {-1, -1, -1, -1}, int16_t icon = 0) {
    Row row{};
    std::memset(row.name, ' ', sizeof row.name);
    std::memcpy(row.name, name.data(), std::min(name.size(), sizeof row.name));
    std::copy(colours.begin(), colours.end(), row.colours);
    row.icon = icon;
    row.level = level;
    std::memcpy(rows.buffer(), &row, sizeof row);
    ADD(rows.queue());
  }

  // Runs a procedure with one list (control 1) and a button (control 2),
  // recording every event as "code:control", alert keys as "f:1/key/char".
  void Start(const std::string& format, int32_t flags, Position at = {4, 4, 180, 80}) {
    ControlRecord list = MakeControl(RecordKind::kList, 1, at);
    list.flags = flags;
    list.format = format;
    list.from = DataDescriptor{25, 0, 0, std::nullopt, {}};
    ControlRecord button = MakeControl(RecordKind::kButton, 2, {4, 100, 40, 14});
    thread = START(
        [this, list, button] {
          Window window;
          OpenTestWindow(window, WindowKind::kPlain, WindowDefinition({list, button}),
                         {&rows.queue()});
          for (AcceptLoop loop; loop.Next();) {
            std::string seen = Describe(EVENT(), FIELD());
            if (EVENT() == event::kAlertKey || KEYCODE() != 0) {
              seen += "/" + std::to_string(KEYCODE()) + "/" + std::to_string(KEYCHAR());
            }
            if (EVENT() != event::kOpenWindow && EVENT() != event::kSelected)
              events.push_back(seen);
            if (EVENT() == event::kContracting && refuseNodes) RefuseEvent();
            if (onEvent) onEvent();
          }
        },
        0);
    RunUntilIdle();
    window = CurrentWindowOf(thread);
    ASSERT_NE(window, nullptr);
    widget = dynamic_cast<ListWidget*>(window->FindControl(1)->Widget());
    ASSERT_NE(widget, nullptr);
    events.clear();
  }

  std::string Property(int32_t code) { return *window->FindControl(1)->Property(code, 0); }
  void SetProperty(int32_t code, const std::string& value) {
    window->FindControl(1)->SetProperty(code, 0, value);
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    RunUntilIdle();
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    RunUntilIdle();
  }
  QPoint RowPoint(int shown) { return widget->RowRect(shown).center(); }
  void Wheel(int delta) {
    QPointF at = RowPoint(0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    RunUntilIdle();
  }

  DeclaredQueue rows{kRowFields, sizeof(Row)};
  int32_t thread = 0;
  Window* window = nullptr;
  ListWidget* widget = nullptr;
  std::vector<std::string> events;
  bool refuseNodes = false;
  std::function<void()> onEvent;
};

using Events = std::vector<std::string>;

TEST_F(ListControlTest, ProgramScrolledKeysPostScrollEventsAndNeverMove) {
  for (const char* name : {"alpha", "beta", "gamma"}) Add(name);
  Start("60L@s12@", kProgramScrolled);
  SetProperty(property::kSelectedRow, "1");
  Key(Qt::Key_Up);  // at the top: still asks
  Key(Qt::Key_Down);
  Key(Qt::Key_PageUp);
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  Key(Qt::Key_PageDown);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  Key(Qt::Key_Home);
  Key(Qt::Key_End);
  EXPECT_EQ(events, (Events{"3:1", "4:1", "5:1", "7:1", "6:1", "8:1", "7:1", "8:1"}));
  EXPECT_EQ(Property(property::kSelectedRow), "1") << "the procedure moves it, not the list";
}

TEST_F(ListControlTest, ProgramScrolledScrollBarPostsAndStaysWhereTheProgramPutIt) {
  Add("alpha");
  Start("60L@s12@", kProgramScrolled);
  SetProperty(property::kThumbPosition, "40");
  QScrollBar& bar = widget->ScrollBar();
  for (auto action : {QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderSingleStepAdd,
                      QAbstractSlider::SliderPageStepSub, QAbstractSlider::SliderPageStepAdd,
                      QAbstractSlider::SliderToMinimum, QAbstractSlider::SliderToMaximum}) {
    bar.triggerAction(action);
    RunUntilIdle();
    EXPECT_EQ(bar.value(), 40) << action;
  }
  EXPECT_EQ(events, (Events{"3:1", "4:1", "5:1", "6:1", "7:1", "8:1"}));
  events.clear();
  bar.setSliderDown(true);
  bar.setSliderPosition(75);
  bar.setSliderDown(false);
  RunUntilIdle();
  EXPECT_EQ(events, (Events{"14:1"}));
  EXPECT_EQ(Property(property::kThumbPosition), "75") << "moved to the release first";
}

TEST_F(ListControlTest, TheWheelAsksAProgramScrolledListForThreeLinesANotch) {
  Add("alpha");
  Start("60L@s12@", kProgramScrolled);
  Wheel(-120);
  Wheel(120);
  Wheel(30);  // less than a notch
  EXPECT_EQ(events, (Events{"4:1", "4:1", "4:1", "3:1", "3:1", "3:1"}));
}

TEST_F(ListControlTest, TheWheelScrollsASelfScrollingList) {
  for (int i = 0; i < 30; ++i) Add("row " + std::to_string(i + 1));
  Start("60L@s12@", 0);
  ASSERT_LT(widget->WholeRowsShown(), 27);
  Wheel(-120);
  EXPECT_EQ(widget->Rows()[0][0].text.substr(0, 5), "row 4");
  Wheel(240);
  EXPECT_EQ(widget->Rows()[0][0].text.substr(0, 5), "row 1");
  EXPECT_TRUE(events.empty()) << "scrolling moves no selection";
}

TEST_F(ListControlTest, TypedKeysReachTheProgramAsAlertKeysOnce) {
  Add("alpha");
  Start("60L@s12@", kProgramScrolled);
  SetProperty(property::kAlertKeys, "0");
  window->FindControl(1)->SetProperty(property::kAlertKeys, 255, "45");  // Insert
  window->FindControl(1)->SetProperty(property::kAlertKeys, 254, "38");  // Up
  Key(Qt::Key_B, Qt::NoModifier, "b");
  Key(Qt::Key_Comma, Qt::NoModifier, ",");
  Key(Qt::Key_Backspace, Qt::NoModifier, "\b");
  Key(Qt::Key_Insert);
  Key(Qt::Key_Up);
  Key(Qt::Key_F5);  // neither typed nor alerted
  EXPECT_EQ(events, (Events{"f:1/66/98", "f:1/0/44", "f:1/8/8", "f:1/45/0", "f:1/38/0"}))
      << "an alerted key is the window's, even Up";
}

TEST_F(ListControlTest, SelfScrollingListMovesItsSelectionAndLocates) {
  for (const char* name : {"apple", "banana", "cherry", "avocado", "blueberry"}) Add(name);
  Start("60L@s12@", 0);
  Key(Qt::Key_Down);
  EXPECT_EQ(Property(property::kSelectedRow), "1");
  Key(Qt::Key_End);
  EXPECT_EQ(Property(property::kSelectedRow), "5");
  Key(Qt::Key_Down);  // already at the end: nothing
  Key(Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_EQ(Property(property::kSelectedRow), "1") << "wrapped";
  Key(Qt::Key_A, Qt::NoModifier, "A");
  EXPECT_EQ(Property(property::kSelectedRow), "4");
  Key(Qt::Key_Z, Qt::NoModifier, "z");
  EXPECT_EQ(Property(property::kSelectedRow), "4");
  Key(Qt::Key_Return);
  EXPECT_EQ(events, (Events{"2:1", "2:1", "2:1", "2:1", "1:1"}));
}

TEST_F(ListControlTest, ClicksSelectAndAccept) {
  for (const char* name : {"apple", "banana", "cherry"}) Add(name);
  Start("60L@s12@", kProgramScrolled);
  Mouse(QEvent::MouseButtonPress, RowPoint(1));
  EXPECT_EQ(Property(property::kSelectedRow), "2");
  Mouse(QEvent::MouseButtonPress, RowPoint(2), Qt::RightButton);
  EXPECT_EQ(Property(property::kSelectedRow), "3");
  Mouse(QEvent::MouseButtonDblClick, RowPoint(0));
  Mouse(QEvent::MouseButtonPress, RowPoint(5));  // below the last row
  EXPECT_EQ(events, (Events{"2:1", "2:1/2/0", "2:1", "1:1"}));
  EXPECT_EQ(Property(property::kSelectedRow), "1");
}

TEST_F(ListControlTest, DoubleClickAlertedOnTheListIsOnlyTheAlert) {
  Add("apple");
  Start("60L@s12@", kProgramScrolled);
  window->FindControl(1)->SetProperty(property::kAlertKeys, 252, "5");
  Mouse(QEvent::MouseButtonDblClick, RowPoint(0));
  EXPECT_EQ(events, (Events{"f:1/5/0"}));
}

TEST_F(ListControlTest, VisibleRowsAreTheWholeRowsThatFit) {
  Add("apple");
  Start("60L~NAME~@s12@", kProgramScrolled);
  int rowsArea = widget->height() - 2 - widget->HeaderHeight();
  EXPECT_GT(widget->HeaderHeight(), 0);
  EXPECT_EQ(Property(property::kVisibleRows), std::to_string(rowsArea / widget->RowHeight()));
  widget->resize(widget->width(), 2 + widget->HeaderHeight() + 3 * widget->RowHeight() - 1);
  EXPECT_EQ(Property(property::kVisibleRows), "2") << "a row cut off does not count";
}

class TreeListTest : public ListControlTest {
 protected:
  void SetUp() override {
    ListControlTest::SetUp();
    Add("COMPILATION", 0);
    Add("Tape one", -1, {0xC0C0C0, 0xFF0000, 0xFF0000, 0xC0C0C0}, 3);  // open: children follow
    Add("Item a", 2, {0xFF0000, 0xC0C0C0, 0xC0C0C0, 0xFF0000}, 2);
    Add("Item b", 2, {0xFF0000, 0xC0C0C0, 0xC0C0C0, 0xFF0000}, 2);
    Add("Tape two", 1, {0xC0C0C0, 0xFF0000, 0xFF0000, 0xC0C0C0}, 3);     // closed
    Add("Tape three", -1, {0xC0C0C0, 0xFF0000, 0xFF0000, 0xC0C0C0}, 3);  // nothing below
    Start("120L|*IT~TITLE~@s12@50R~LEVEL~#7#", 0, {4, 4, 180, 90});
    // The icons of the tree browses.
    window->FindControl(1)->SetProperty(property::kIconList, 1, "ACT2.ICO");
    window->FindControl(1)->SetProperty(property::kIconList, 2, "ACTOR1.ICO");
    window->FindControl(1)->SetProperty(property::kIconList, 3, "VIDEO.ICO");
  }
};

TEST_F(TreeListTest, NodesFollowTheLevels) {
  using platform::ListNode;
  EXPECT_EQ(widget->NodeOf(0), ListNode::kOpen);
  EXPECT_EQ(widget->NodeOf(1), ListNode::kOpen);
  EXPECT_EQ(widget->NodeOf(4), ListNode::kClosed);
  EXPECT_EQ(widget->NodeOf(5), ListNode::kNone);
  EXPECT_TRUE(widget->NodeRect(5).isEmpty());
  EXPECT_GT(widget->NodeRect(2).left(), widget->NodeRect(1).left()) << "deeper rows indent";
  EXPECT_EQ(widget->NodeRect(1).left(), widget->NodeRect(4).left()) << "the sign does not";

  QImage image = platform::GrabWidget(*widget);
  ASSERT_FALSE(image.isNull());
  // Tape two is not selected: its background is its own colour 0xFF0000 (blue);
  // its closed node's vertical bar crosses the box's centre.
  QRect row = widget->RowRect(4);
  const platform::ListColumnLook& tree = widget->Columns()[0];
  EXPECT_EQ(image.pixelColor(row.left() + tree.left + tree.width - 4, row.center().y()),
            QColor(0, 0, 0xFF));
  QRect box = widget->NodeRect(4);
  QColor centre = image.pixelColor(box.center().x(), box.top() + 2);
  QColor open = image.pixelColor(widget->NodeRect(1).center().x(), widget->NodeRect(1).top() + 2);
  EXPECT_NE(centre, open) << "+ has a vertical bar, - does not";
  if (const char* path = std::getenv("RK_LIST_SCREENSHOT")) image.save(path);
}

TEST_F(TreeListTest, NodeClicksAskAndFollowUnlessRefused) {
  Mouse(QEvent::MouseButtonPress, widget->NodeRect(1).center());  // open: contract
  Mouse(QEvent::MouseButtonPress, widget->NodeRect(4).center());  // closed: expand
  EXPECT_EQ(events, (Events{"17:1", "19:1", "16:1", "18:1"}));
  EXPECT_EQ(Property(property::kSelectedRow), "5");
  events.clear();
  refuseNodes = true;
  Mouse(QEvent::MouseButtonPress, widget->NodeRect(1).center());
  EXPECT_EQ(events, (Events{"17:1"}));
}

TEST_F(TreeListTest, TheFollowUpComesAfterWhatTheBodyPosted) {
  onEvent = [] {
    if (EVENT() == event::kExpanding) POST(event::kAccepted, 2);
  };
  Mouse(QEvent::MouseButtonPress, widget->NodeRect(4).center());
  EXPECT_EQ(events, (Events{"16:1", "1:2", "18:1"}));
}

}  // namespace
}  // namespace rk
