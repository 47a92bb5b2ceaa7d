// Display services: close requests, font substitution, dialog units, grabbing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QWidget>

#include "runtime/platform/qt/close_request_filter.h"
#include "runtime/platform/qt/dialog_units.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/widget_grab.h"
#include "runtime/platform/qt/window_state_notifier.h"
#include "tests/support/qt_application.h"

namespace rk::platform {
namespace {

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rk::testing::EnsureQtApplication();
    InstallFontSubstitutions();
  }
};

TEST_F(DisplayTest, CloseBecomesARequestUntilTheRuntimeCloses) {
  Scheduler scheduler;
  FiberId owner = scheduler.Spawn([&] { scheduler.WaitMessage(); }, 0);
  QWidget window;
  window.show();
  auto* filter = new CloseRequestFilter(window, scheduler, owner, 0xABC);

  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  ASSERT_EQ(scheduler.QueuedMessages(owner), 1u);

  std::optional<PlatformMessage> request;
  FiberId reader = scheduler.Spawn([&] { request = scheduler.WaitMessage(); }, 0);
  new CloseRequestFilter(window, scheduler, reader, 0xDEF);
  window.close();
  scheduler.RunUntilIdle();
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->kind, MessageKind::kCloseRequest);
  EXPECT_EQ(request->target, 0xDEFu);

  EXPECT_FALSE(filter->CloseNow()) << "another filter still refuses";
}

TEST_F(DisplayTest, CloseNowClosesTheWindow) {
  Scheduler scheduler;
  FiberId owner = scheduler.Spawn([&] { scheduler.WaitMessage(); }, 0);
  QWidget window;
  window.show();
  auto* filter = new CloseRequestFilter(window, scheduler, owner, 1);
  EXPECT_TRUE(filter->CloseNow());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(scheduler.QueuedMessages(owner), 0u);
}

TEST_F(DisplayTest, WindowChangesAreNoticedOncePerKind) {
  Scheduler scheduler;
  std::vector<int64_t> changes;
  FiberId owner = scheduler.Spawn(
      [&] {
        for (;;) changes.push_back(scheduler.WaitMessage().param);
      },
      0);
  scheduler.RunUntilIdle();
  QWidget window;
  window.setGeometry(10, 10, 200, 100);
  window.show();
  new WindowStateNotifier(window, scheduler, owner, 7);
  for (int step = 1; step <= 5; ++step) window.move(10 + step * 10, 10);
  window.resize(300, 150);
  scheduler.RunUntilIdle();
  // The window showing may also be activated; that notice is not about its geometry.
  std::erase(changes, kWindowActivated);
  EXPECT_EQ(changes, (std::vector<int64_t>{kWindowMoved, kWindowSized}))
      << "moves coalesce, the size change is another";

  changes.clear();
  window.showMaximized();
  window.showNormal();
  scheduler.RunUntilIdle();
  EXPECT_NE(std::find(changes.begin(), changes.end(), kWindowMaximized), changes.end());
  EXPECT_NE(std::find(changes.begin(), changes.end(), kWindowRestored), changes.end());
}

TEST_F(DisplayTest, DefinitionFacesResolveToInstalledFaces) {
  EXPECT_EQ(QFontInfo(QFont("FixedSys")).family(), "DejaVu Sans Mono");
  EXPECT_EQ(QFontInfo(QFont("Arial")).family(), "Liberation Sans");
  for (const char* face : {"MS Sans Serif", "Helv"}) {
    QString family = QFontInfo(QFont(face)).family();
    EXPECT_TRUE(family == "Liberation Sans" || family == "DejaVu Sans")
        << face << " -> " << family.toStdString();
  }
  QFont bold = MakeFont({"Helv", 8, 700, true, false, false});
  EXPECT_EQ(bold.weight(), QFont::Bold);
  EXPECT_TRUE(bold.italic());
  EXPECT_EQ(MakeFont({"Helv", 8, 0, false, false, false}).weight(), QFont::Normal);
}

TEST_F(DisplayTest, DialogUnitsFollowTheFontsCharacterCell) {
  QFont fixed = MakeFont({"FixedSys", 10, 400, false, false, false});
  QFontMetrics metrics(fixed);
  DialogBaseUnits base = BaseUnitsOf(fixed);
  // In a fixed face the average of the letters is the one advance width.
  EXPECT_EQ(base.x, metrics.horizontalAdvance('M'));
  EXPECT_EQ(base.y, metrics.height());

  // Four horizontal units are one average character, eight vertical ones a line;
  // fractions round to the nearest pixel, halves away from zero.
  DialogBaseUnits odd{7, 13};
  EXPECT_EQ(DialogToPixelsX(4, odd), 7);
  EXPECT_EQ(DialogToPixelsX(2, odd), 4);  // 3.5
  EXPECT_EQ(DialogToPixelsX(-2, odd), -4);
  EXPECT_EQ(DialogToPixelsY(8, odd), 13);
  EXPECT_EQ(DialogToPixelsY(3, odd), 5);  // 4.875
  EXPECT_EQ(DialogToPixels(QRect(4, 8, 200, 14), odd), QRect(7, 13, 350, 23));
  EXPECT_EQ(DialogToPixelsX(1000000000, {8, 16}), 2000000000);
}

TEST_F(DisplayTest, AnyWidgetGrabsToAPng) {
  QWidget widget;
  widget.setFixedSize(40, 30);
  widget.setAutoFillBackground(true);
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, Qt::red);
  widget.setPalette(palette);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QString path = dir.filePath("widget.png");
  ASSERT_TRUE(GrabWidgetToPng(widget, path));
  QImage image(path);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size() / image.devicePixelRatio(), QSize(40, 30));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));

  EXPECT_FALSE(GrabWidgetToPng(widget, dir.filePath("missing/widget.png")));
}

}  // namespace
}  // namespace rk::platform
