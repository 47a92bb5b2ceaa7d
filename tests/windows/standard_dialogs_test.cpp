// The file and printer dialogs: the filter text, and a runtime thread waiting for
// the user's answer without holding the runtime lock.
#include "runtime/windows/standard_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "runtime/platform/qt/file_dialog_widget.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

void RunUntilIdle() {
  platform::TheScheduler().RunUntilIdle();
}

template <typename Dialog>
Dialog* OpenDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<Dialog*>(widget);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

TEST(StandardDialogsTest, FilterPairsBecomeNameFilters) {
  EXPECT_EQ(NameFiltersOf(""), QStringList{"All Files (*)"});
  EXPECT_EQ(NameFiltersOf("Text (*.txt)|*.txt|Data|*.KMF;*.TCF"),
            (QStringList{"Text (*.txt)", "Data (*.KMF *.TCF)"}));
  EXPECT_EQ(NameFiltersOf("All Files (*.*)|*.*"), QStringList{"All Files (*)"});
  // A description without its pattern is dropped rather than read past the end.
  EXPECT_EQ(NameFiltersOf("Text|*.txt|Orphan"), QStringList{"Text (*.txt)"});
  EXPECT_EQ(NameFiltersOf("Nothing|"), QStringList{"All Files (*)"});
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rk::testing::EnsureQtApplication();
    ASSERT_TRUE(folder_.isValid());
    QFile tapes(folder_.filePath("TAPES.TXT"));
    ASSERT_TRUE(tapes.open(QIODevice::WriteOnly));
  }

  // Starts a thread that asks for a file; RunUntilIdle leaves it waiting.
  void Ask(int32_t flags) {
    START(
        [this, flags] {
          result_ = FILEDIALOG("Pick a tape list", name_, "Text|*.TXT", flags);
          lockHeldAfter_ = RuntimeLockHeld();
        },
        0);
    RunUntilIdle();
  }

  QTemporaryDir folder_;
  std::string name_;
  int32_t result_ = -1;
  bool lockHeldAfter_ = false;
};

TEST_F(FileDialogTest, ConfirmingStoresThePathAndCancellingLeavesTheName) {
  name_ = QDir(folder_.path()).filePath("TAPES.TXT").toStdString();
  Ask(0);
  auto* dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Pick a tape list");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(result_, -1) << "the thread waits for the answer";
  EXPECT_FALSE(RuntimeLockHeld());
  dialog->selectFile(folder_.filePath("TAPES.TXT"));
  static_cast<QDialog*>(dialog)->accept();  // the file dialog checks the choice first
  RunUntilIdle();
  EXPECT_EQ(result_, 1);
  EXPECT_TRUE(lockHeldAfter_);
  EXPECT_EQ(name_, QDir(folder_.path()).filePath("TAPES.TXT").toStdString());

  name_ = "KEEP.TXT";
  Ask(kFileDialogSave);
  dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  dialog->reject();
  RunUntilIdle();
  EXPECT_EQ(result_, 0);
  EXPECT_EQ(name_, "KEEP.TXT");
}

TEST_F(FileDialogTest, ADialogDestroyedUnansweredEndsTheWait) {
  name_ = "KEEP.TXT";
  Ask(0);
  auto* dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  delete dialog;
  RunUntilIdle();
  EXPECT_EQ(result_, 0);
  EXPECT_EQ(name_, "KEEP.TXT");
}

TEST(PrinterDialogTest, TheAnswerIsWhetherTheUserConfirmed) {
  rk::testing::EnsureQtApplication();
  int32_t result = -1;
  START([&] { result = PRINTERDIALOG("Print the tapes"); }, 0);
  RunUntilIdle();
  auto* dialog = OpenDialog<platform::PrinterDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Print the tapes");
  EXPECT_TRUE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
  dialog->reject();
  RunUntilIdle();
  EXPECT_EQ(result, 0);

  START([&] { result = PRINTERDIALOG({}, true); }, 0);
  RunUntilIdle();
  dialog = OpenDialog<platform::PrinterDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Print Setup");
  EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
  dialog->accept();
  RunUntilIdle();
  EXPECT_EQ(result, 1);
}

}  // namespace
}  // namespace rk
