// How the running program presents itself to the desktop.
#include "app/main/desktop_identity.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <filesystem>

#include "app/main/program_options.h"
#include "tests/support/qt_application.h"

namespace rk::start {
namespace {

namespace fs = std::filesystem;

TEST(DesktopIdentity, WindowsBelongToTheInstalledLauncherAndCarryTheProgramsIcon) {
  testing::EnsureQtApplication();
  PresentToDesktop();
  // The launcher and the metadata that are installed carry the same name.
  EXPECT_EQ(QGuiApplication::desktopFileName(), kDesktopFileName);
  fs::path desktop = fs::path(RK_TEST_SOURCE_DIR) / "resources" / "desktop";
  EXPECT_TRUE(fs::exists(desktop / (std::string(kDesktopFileName) + ".desktop")));
  EXPECT_TRUE(fs::exists(desktop / (std::string(kDesktopFileName) + ".metainfo.xml")));

  EXPECT_EQ(QCoreApplication::applicationName(), "reelkeeper");
  EXPECT_EQ("reelkeeper " + QCoreApplication::applicationVersion().toStdString() + "\n",
            VersionText());
  QIcon icon = QApplication::windowIcon();
  ASSERT_FALSE(icon.isNull());
  QList<QSize> sizes = icon.availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

}  // namespace
}  // namespace rk::start
