// A window with a menu bar and a status bar of its own grows by both: its
// controls keep the room the definition gives them, none hidden under a bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QStatusBar>

#include "runtime/platform/qt/menu_bar_builder.h"
#include "runtime/platform/qt/status_zones.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window_menu_items.h"
#include "runtime/windows/window_statements.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

constexpr int32_t kFootButton = 1;

constexpr int32_t kGo = -3;
constexpr int32_t kStop = -4;

// 160 by 80 dialog units, a button whose foot is the client area's foot, an
// item on its own menu bar and two status zones.
StructureRecord BarredWindow(bool menu, bool zones) {
  StructureRecord w =
      WindowDefinition({MakeControl(RecordKind::kButton, kFootButton, {4, 62, 60, 18})});
  w.at = {kNotGiven, kNotGiven, 160, 80};
  if (menu) {
    MenuRecord go;
    go.number = kGo;
    go.text = "&Go!";
    MenuRecord stop;
    stop.number = kStop;
    stop.text = "&Stop!";
    w.menubar = MenuBarRecord{0, {go, stop}};
  }
  if (zones) w.valueList = {-1, 40};
  return w;
}

class OwnBarsTest : public WindowTest, public ::testing::WithParamInterface<std::pair<bool, bool>> {
 protected:
  // Opens the window on a thread of its own and leaves it in its loop, which
  // logs its events and runs `onOpen` on the open-window event.
  QWidget* Open(
      StructureRecord definition, std::function<void()> onOpen = [] {}) {
    thread_ = START(
        [this, definition, onOpen] {
          Window window;
          OpenTestWindow(window, WindowKind::kPlain, definition);
          window_ = &window;
          for (AcceptLoop loop; loop.Next();) {
            seen_.push_back(Describe(EVENT(), FIELD()));
            if (EVENT() == event::kOpenWindow) onOpen();
          }
          window_ = nullptr;
        },
        0);
    RunUntilIdle();
    return window_ && window_->shell ? window_->shell->Client() : nullptr;
  }
  QWidget* FootButton() const {
    Control* control = window_->FindControl(kFootButton);
    return control ? control->Widget() : nullptr;
  }

  QAction* Item(int32_t number) const {
    auto* bar = window_->shell->Client()->findChild<QMenuBar*>();
    return bar ? platform::FindMenuAction(*bar, number) : nullptr;
  }

  Window* window_ = nullptr;
  int32_t thread_ = 0;
  std::vector<std::string> seen_;
};

TEST_P(OwnBarsTest, TheControlsKeepTheirRoomBetweenTheBars) {
  auto [menu, zones] = GetParam();
  QWidget* bare = Open(BarredWindow(false, false));
  ASSERT_NE(bare, nullptr);
  QSize defined = bare->size();
  QRect bareButton = FootButton()->geometry();
  PostToThread(thread_, platform::MessageKind::kQuit);
  RunUntilIdle();

  QWidget* client = Open(BarredWindow(menu, zones));
  ASSERT_NE(client, nullptr);
  QRect button = FootButton()->geometry();
  EXPECT_TRUE(client->rect().contains(button)) << "the button is cut off";
  int added = 0;
  if (auto* bar = client->findChild<QMenuBar*>(); menu) {
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->geometry().intersects(button));
    EXPECT_EQ(button.top(), bareButton.top() + bar->height());
    added += bar->height();
  }
  if (auto* bar = client->findChild<QStatusBar*>(); zones) {
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->geometry().intersects(button)) << "the status bar hides the button";
    EXPECT_EQ(bar->geometry().bottom(), client->rect().bottom());
    added += bar->height();
  }
  EXPECT_EQ(client->size(), QSize(defined.width(), defined.height() + added));
  EXPECT_EQ(client->window()->size(), client->size());
}

TEST_F(OwnBarsTest, MenuItemsRaiseAcceptedAndTakeTheirProperties) {
  std::string readBack;
  ASSERT_NE(Open(BarredWindow(true, true),
                 [&] {
                   SetProperty(kGo, property::kText, "&Run!");
                   SetProperty(kGo, property::kStatusMessage, "Runs the thing");
                   SetProperty(kStop, property::kDisabled, 1);
                   readBack = GetProperty(kGo, property::kText) + "|" +
                              GetProperty(kStop, property::kDisabled);
                 }),
            nullptr);
  EXPECT_EQ(readBack, "&Run!|1");
  QAction* go = Item(kGo);
  QAction* stop = Item(kStop);
  ASSERT_NE(go, nullptr);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(go->text(), "&Run!");
  EXPECT_EQ(go->statusTip(), "Runs the thing");
  EXPECT_TRUE(go->isEnabled());
  EXPECT_FALSE(stop->isEnabled());
  stop->trigger();  // disabled: nothing
  go->trigger();
  RunUntilIdle();
  std::vector<std::string> accepted;
  for (const std::string& event : seen_) {
    if (event.rfind("1:", 0) == 0) accepted.push_back(event);
  }
  EXPECT_EQ(accepted, std::vector<std::string>{"1:-3"});
}

TEST_F(OwnBarsTest, StatusTextGoesToTheWindowsOwnFirstZone) {
  ASSERT_NE(
      Open(BarredWindow(false, true), [] { SetProperty(0, property::kStatusText, "Ready to go"); }),
      nullptr);
  platform::StatusZones* zones = StatusZonesOf(*window_);
  ASSERT_NE(zones, nullptr);
  EXPECT_EQ(zones->Text(1).toStdString(), "Ready to go");
}

INSTANTIATE_TEST_SUITE_P(MenuZonesOrBoth, OwnBarsTest,
                         ::testing::Values(std::pair{true, false}, std::pair{false, true},
                                           std::pair{true, true}));

}  // namespace
}  // namespace rk
