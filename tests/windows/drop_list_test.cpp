// Drop lists: the closed face, the popup that is the list's own widget, and
// what choosing, cancelling and keys on the face post and store, for fixed
// choices and for a list fed from a queue; icons of lists by name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabWidget>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/type_codes.h"
#include "runtime/files/queue.h"
#include "runtime/platform/qt/drop_face_widget.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/platform/qt/widget_grab.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/icon_lookup.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"
#include "tests/support/process_temp_dir.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;
using platform::DropFaceWidget;
using platform::ListWidget;
using Events = std::vector<std::string>;

constexpr const char* kTypes = "VHS|SVHS|VHSC|BETAMAX|8mm|Hi 8mm|OTHER";
constexpr int kDropCount = 4;

// Manufacturer entries: a name and a number of tapes.
struct Maker {
  char name[8];
  int16_t tapes;
};
constexpr FieldSpec kMakerFields[] = {{"M:NAME", 0, kString, 8}, {"M:TAPES", 8, kShort}};
static_assert(sizeof(Maker) == 10);

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  size_t last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

class DropListTest : public WindowTest {
 protected:
  // A drop list of fixed choices over a STRING(8) variable holding `value`.
  void StartFixed(const std::string& choices, const std::string& value) {
    ControlRecord drop = DropList("");
    drop.from = TextDescriptor(static_cast<int32_t>(choices.size()));
    drop.from->constantText = choices;
    SetValue(value);
    Start(drop, {value_});
  }

  // A drop list fed from the makers queue; on 0x01 the procedure copies the
  // chosen entry's name into the variable, as a form does.
  void StartQueueFed(const std::string& format) {
    ControlRecord drop = DropList(format);
    drop.from = DataDescriptor{25, 0, 0, std::nullopt, {}};
    SetValue("");
    copyOnAccept = true;
    Start(drop, {value_, &makers.queue()});
  }

  void AddMaker(const std::string& name, int16_t tapes) {
    Maker maker{};
    std::memset(maker.name, ' ', sizeof maker.name);
    std::memcpy(maker.name, name.data(), std::min(name.size(), sizeof maker.name));
    maker.tapes = tapes;
    std::memcpy(makers.buffer(), &maker, sizeof maker);
    ADD(makers.queue());
  }

  std::string Value() const { return Trimmed(std::string(value_, sizeof value_)); }
  std::string Property(int32_t code) { return *window->FindControl(1)->Property(code, 0); }
  std::string FaceText(size_t column = 0) const {
    return column < face->Choice().size() ? Trimmed(face->Choice()[column].text) : "(none)";
  }
  std::string HighlightedText() const {
    int shown = popup->SelectedShown();
    if (shown < 0 || shown >= static_cast<int>(popup->Rows().size())) return "(none)";
    return Trimmed(popup->Rows()[shown][0].text);
  }

  void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    RunUntilIdle();
  }
  void Press(QWidget* target, QPoint at, QEvent::Type type = QEvent::MouseButtonPress) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    RunUntilIdle();
  }
  void Open() {
    Key(face, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(popup->isVisible());
  }

  DeclaredQueue makers{kMakerFields, sizeof(Maker)};
  int32_t thread = 0;
  Window* window = nullptr;
  DropFaceWidget* face = nullptr;
  ListWidget* popup = nullptr;
  Events events;
  int32_t choiceOnAccept = 0;
  bool copyOnAccept = false;

 private:
  static ControlRecord DropList(const std::string& format) {
    ControlRecord drop = MakeControl(RecordKind::kList, 1, {4, 4, 80, 12});
    drop.dropCount = kDropCount;
    drop.format = format;
    drop.use = TextDescriptor(sizeof value_);
    return drop;
  }

  void SetValue(const std::string& value) {
    std::memset(value_, ' ', sizeof value_);
    std::memcpy(value_, value.data(), std::min(value.size(), sizeof value_));
  }

  // Runs the window (the drop list and a button, control 2), recording every
  // event but the opening ones as "code:control".
  void Start(const ControlRecord& drop, std::vector<void*> variables) {
    ControlRecord button = MakeControl(RecordKind::kButton, 2, {4, 100, 40, 14});
    thread = START(
        [this, drop, button, variables] {
          Window window;
          OpenTestWindow(window, WindowKind::kPlain, WindowDefinition({drop, button}), variables);
          DISPLAY();
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() == event::kOpenWindow || EVENT() == event::kSelected) continue;
            events.push_back(Describe(EVENT(), FIELD()));
            if (EVENT() != event::kAccepted) continue;
            choiceOnAccept = CHOICE(1);
            if (copyOnAccept) {
              GET(makers.queue(), CHOICE(1));
              std::memcpy(value_, makers.buffer(), sizeof value_);
            }
          }
        },
        0);
    RunUntilIdle();
    window = CurrentWindowOf(thread);
    ASSERT_NE(window, nullptr);
    face = dynamic_cast<DropFaceWidget*>(window->FindControl(1)->Widget());
    ASSERT_NE(face, nullptr);
    popup = face->Popup();
    ASSERT_NE(popup, nullptr);
    events.clear();
  }

  char value_[8];
};

TEST_F(DropListTest, TheFaceShowsTheChoiceTheVariableHolds) {
  StartFixed(kTypes, "betamax");
  EXPECT_EQ(face->objectName(), "QvnDrop");
  EXPECT_EQ(FaceText(), "BETAMAX") << "found without regard to case";
  EXPECT_EQ(Property(property::kSelectedRow), "4");
  EXPECT_FALSE(popup->isVisible());
  window->FindControl(1)->SetProperty(property::kSelectedRow, 0, "2");
  EXPECT_EQ(FaceText(), "SVHS");
  EXPECT_EQ(Value(), "betamax") << "setting the selection stores nothing";
}

TEST_F(DropListTest, AValueNotAmongTheChoicesShowsNothing) {
  StartFixed(kTypes, "DVD");
  EXPECT_EQ(FaceText(), "(none)");
  EXPECT_EQ(Property(property::kSelectedRow), "0");
}

TEST_F(DropListTest, OpeningShowsTheDropCountsRowsWithTheChoiceSelected) {
  StartFixed(kTypes, "Hi 8mm");
  EXPECT_EQ(Property(property::kVisibleRows), std::to_string(kDropCount));
  Open();
  EXPECT_EQ(popup->WholeRowsShown(), kDropCount);
  EXPECT_TRUE(popup->ScrollBarShown()) << "seven choices, four rows";
  EXPECT_EQ(HighlightedText(), "Hi 8mm") << "scrolled into view";
  EXPECT_TRUE(popup->isWindow());
  QPoint faceBottom = face->mapToGlobal(QPoint(0, face->height()));
  EXPECT_EQ(popup->geometry().topLeft(), faceBottom);
  EXPECT_EQ(popup->width(), face->width());
  EXPECT_TRUE(events.empty());
}

TEST_F(DropListTest, AShortListOpensOnlyAsTallAsItsChoices) {
  StartFixed("SP|LP", "LP");
  Key(face, Qt::Key_F4);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->WholeRowsShown(), 2);
  EXPECT_FALSE(popup->ScrollBarShown());
  EXPECT_EQ(Property(property::kVisibleRows), std::to_string(kDropCount)) << "still the drop count";
}

TEST_F(DropListTest, ChoosingByKeyStoresTheTextThenPostsNewSelectionAndAccepted) {
  StartFixed(kTypes, "SVHS");
  Open();
  Key(popup, Qt::Key_Down);
  Key(popup, Qt::Key_Down);
  EXPECT_EQ(HighlightedText(), "BETAMAX");
  EXPECT_TRUE(events.empty()) << "moving inside the popup posts nothing";
  EXPECT_EQ(Value(), "SVHS");
  Key(popup, Qt::Key_Return);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(Value(), "BETAMAX");
  EXPECT_EQ(FaceText(), "BETAMAX");
  EXPECT_EQ(events, (Events{"2:1", "1:1"}));
  EXPECT_EQ(choiceOnAccept, 4);
}

TEST_F(DropListTest, TheLocatorWorksInThePopup) {
  StartFixed(kTypes, "VHS");
  Open();
  Key(popup, Qt::Key_H, Qt::NoModifier, "h");
  EXPECT_EQ(HighlightedText(), "Hi 8mm");
  Key(popup, Qt::Key_V, Qt::NoModifier, "v");
  EXPECT_EQ(HighlightedText(), "VHS") << "wrapped past the end";
  Key(popup, Qt::Key_V, Qt::NoModifier, "v");
  EXPECT_EQ(HighlightedText(), "VHSC");
  Key(popup, Qt::Key_F4);
  EXPECT_EQ(Value(), "VHSC");
  EXPECT_EQ(events, (Events{"2:1", "1:1"}));
}

TEST_F(DropListTest, ChoosingByClickAndChoosingTheSameChoiceAgain) {
  StartFixed(kTypes, "VHS");
  Press(face, face->ChoiceRect().center());
  ASSERT_TRUE(popup->isVisible());
  Press(popup, popup->RowRect(2).center());
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(Value(), "VHSC");
  EXPECT_EQ(events, (Events{"2:1", "1:1"}));
  events.clear();
  Press(face, face->ButtonRect().center());
  ASSERT_TRUE(popup->isVisible());
  Press(popup, popup->RowRect(popup->SelectedShown()).center());
  EXPECT_EQ(Value(), "VHSC");
  EXPECT_EQ(events, (Events{"1:1"})) << "the selection did not move";
}

TEST_F(DropListTest, EscapeAClickOutsideOrHidingCloseWithoutChoosing) {
  StartFixed(kTypes, "SVHS");
  Open();
  Key(popup, Qt::Key_Down);
  window->FindControl(1)->ShowValue();  // DISPLAY while open
  EXPECT_EQ(HighlightedText(), "VHSC");
  Key(popup, Qt::Key_Escape);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(FaceText(), "SVHS");
  EXPECT_EQ(Property(property::kSelectedRow), "2");

  Open();
  Key(popup, Qt::Key_End);
  Press(popup, QPoint(-10, -10));  // outside: the popup closes itself
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(FaceText(), "SVHS");
  EXPECT_EQ(Property(property::kSelectedRow), "2");
  EXPECT_EQ(Value(), "SVHS");
  EXPECT_TRUE(events.empty());

  Open();  // and it opens again afterwards
  EXPECT_EQ(HighlightedText(), "SVHS");
  Key(popup, Qt::Key_Up);
  window->FindControl(1)->SetProperty(property::kHidden, 0, "1");  // the face goes away
  RunUntilIdle();
  EXPECT_FALSE(popup->isVisible());
  window->FindControl(1)->SetProperty(property::kHidden, 0, "0");
  EXPECT_EQ(Property(property::kSelectedRow), "2");
  Open();
  EXPECT_TRUE(events.empty());
}

TEST_F(DropListTest, KeysOnTheClosedFaceChooseAtOnce) {
  StartFixed(kTypes, "VHSC");
  Key(face, Qt::Key_Down);
  EXPECT_EQ(Value(), "BETAMAX");
  Key(face, Qt::Key_O, Qt::NoModifier, "o");
  EXPECT_EQ(Value(), "OTHER");
  Key(face, Qt::Key_End);  // already the last: nothing
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(events, (Events{"2:1", "1:1", "2:1", "1:1"}));
}

TEST_F(DropListTest, AQueueFedListShowsTheChosenEntrysColumnsOnItsFace) {
  AddMaker("AGFA", 3);
  AddMaker("BASF", 12);
  AddMaker("SONY", 7);
  StartQueueFed("40L@s8@20R@n3@");
  EXPECT_EQ(FaceText(), "(none)");
  window->FindControl(1)->SetProperty(property::kSelectedRow, 0, "1");
  Open();
  EXPECT_EQ(HighlightedText(), "AGFA");
  Key(popup, Qt::Key_S, Qt::NoModifier, "s");
  Key(popup, Qt::Key_Return);
  EXPECT_EQ(events, (Events{"2:1", "1:1"}));
  EXPECT_EQ(choiceOnAccept, 3);
  EXPECT_EQ(FaceText(0), "SONY");
  EXPECT_EQ(FaceText(1), "7");
  EXPECT_EQ(Value(), "SONY") << "copied by the procedure from the chosen entry";
  ASSERT_EQ(popup->Columns().size(), 2u);
}

TEST(IconLookup, FindsTheProgramsIconsByNameInAnyCaseAndNothingElse) {
  EnsureQtApplication();
  QIcon video = IconNamed("video.ico");
  ASSERT_FALSE(video.isNull());
  EXPECT_GE(video.availableSizes().size(), 2) << "every size the icon holds";
  EXPECT_FALSE(IconNamed("ACT2.ICO").pixmap(16).toImage().isNull());
  EXPECT_TRUE(IconNamed("NOSUCH.ICO").isNull());
  EXPECT_TRUE(IconNamed("   ").isNull());
}

TEST_F(DropListTest, AListTakesItsIconsByName) {
  ControlRecord list = MakeControl(RecordKind::kList, 1, {4, 4, 120, 60});
  list.format = "100L*I@s8@";
  list.from = DataDescriptor{25, 0, 0, std::nullopt, {}};
  Window* opened = nullptr;
  int32_t thread = START(
      [&] {
        Window window;
        opened = &window;
        OpenTestWindow(window, WindowKind::kPlain, WindowDefinition({list}), {&makers.queue()});
        SetProperty(1, property::kIconList, "VIDEO.ICO", 1);
        SetProperty(1, property::kIconList, "NOSUCH.ICO", 3);
        for (AcceptLoop loop; loop.Next();) {
        }
      },
      0);
  RunUntilIdle();
  ASSERT_GT(thread, 0);
  auto* widget = dynamic_cast<ListWidget*>(opened->FindControl(1)->Widget());
  ASSERT_NE(widget, nullptr);
  ASSERT_EQ(widget->Icons().size(), 3u);
  EXPECT_EQ(widget->Icons()[0].size(), QSize(16, 16));
  EXPECT_TRUE(widget->Icons()[1].isNull()) << "not named: a default shape";
  EXPECT_TRUE(widget->Icons()[2].isNull()) << "no such icon: a default shape";
  EXPECT_EQ(*opened->FindControl(1)->Property(property::kIconList, 1), "VIDEO.ICO");
  opened->FindControl(1)->SetProperty(property::kIconList, 1, "");
  ASSERT_EQ(widget->Icons().size(), 3u);
  EXPECT_TRUE(widget->Icons()[0].isNull()) << "a blank name takes the icon away";
}

// The tape form's variables in binding order: title, start and end date, type,
// format, speed, length, manufacturer, the manufacturer names, the notes, the
// compilation rows and the serial number.
struct TapeForm {
  TapeForm() {
    for (auto& field : fields) field.fill(' ');
    Put(0, "HOLIDAY 1994");
    int32_t started = 70677, ended = 70819;  // 1 July and 20 November 1994
    std::memcpy(fields[1].data(), &started, sizeof started);
    std::memcpy(fields[2].data(), &ended, sizeof ended);
    Put(3, "VHS");
    Put(4, "PAL");
    Put(5, "SP");
    Put(6, "180");
    Put(7, "TDK");
    int16_t serial = 12;
    std::memcpy(fields[11].data(), &serial, sizeof serial);
    for (const char* name : {"AGFA", "BASF", "FUJI", "JVC", "MAXELL", "PANASONIC", "SCOTCH", "SONY",
                             "TDK", "THAT'S"}) {
      std::memset(names.buffer(), ' ', 20);
      std::memcpy(names.buffer(), name, std::strlen(name));
      ADD(names.queue());
    }
  }
  void Put(int field, const char* text) { std::memcpy(fields[field].data(), text, strlen(text)); }
  void* at(int i) {
    if (i == 8) return &names.queue();
    if (i == 10) return &compilation;
    return fields[i].data();
  }

  static constexpr FieldSpec kNameField[] = {{"MAN:MANUFACTURER", 0, kString, 20}};
  std::array<std::array<char, 1024>, 12> fields;
  DeclaredQueue names{kNameField, 20};
  QueueDescriptor compilation;
};

TEST_F(DropListTest, TheTapeFormsManufacturerListDropsItsNamesBelowIt) {
  constexpr int32_t kManufacturer = 20;
  TapeForm form;
  Window* opened = nullptr;
  int32_t formThread = START(
      [&] {
        Window window;
        opened = &window;
        OpenWindow(window, WindowKind::kPlain, "REELBASE.qvw$reelb022", "UPDATEHTAPES$QUICKWINDOW",
                   {form.at(0), form.at(1), form.at(2), form.at(3), form.at(4), form.at(5),
                    form.at(6), form.at(7), form.at(8), form.at(9), form.at(10), form.at(11)});
        DISPLAY();
        SetProperty(kManufacturer, property::kSelectedRow, 9);  // the form's own "TDK"
        static_cast<QTabWidget*>(window.FindControl(1)->Widget())->setCurrentIndex(1);
        for (AcceptLoop loop; loop.Next();) {
        }
      },
      0);
  RunUntilIdle();
  ASSERT_NE(opened, nullptr);
  face = dynamic_cast<DropFaceWidget*>(opened->FindControl(kManufacturer)->Widget());
  ASSERT_NE(face, nullptr);
  popup = face->Popup();
  EXPECT_EQ(FaceText(), "TDK");
  face->setFocus();
  Key(face, Qt::Key_F4);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->WholeRowsShown(), 8) << "the form's drop count";
  EXPECT_EQ(HighlightedText(), "TDK");
  EXPECT_EQ(popup->SelectedShown(), 7) << "scrolled just far enough: the last whole row";

  QImage image = platform::GrabWithPopups(*opened->shell->Outer());
  QPoint below = face->mapTo(opened->shell->Outer(), QPoint(face->width() / 2, face->height() + 4));
  EXPECT_NE(image.pixelColor(below),
            platform::GrabWidget(*opened->shell->Outer()).pixelColor(below))
      << "the popup is drawn over the form";
  EXPECT_TRUE(image.save(
      QString::fromStdString(testing::ProcessTempDir::File("update_htapes_manufacturer.png"))));
  POST(event::kCloseWindow, 0, formThread);  // before the form's variables go
  RunUntilIdle();
  EXPECT_EQ(CurrentWindowOf(formThread), nullptr);
}

}  // namespace
}  // namespace rk
