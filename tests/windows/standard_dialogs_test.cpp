// The file and printer dialogs: the filter text, a runtime thread waiting for the
// user's answer without holding the runtime lock, and the file dialog's own
// questions asked without a nested event loop.
#include "runtime/windows/standard_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>

#include "runtime/platform/qt/file_dialog_widget.h"
#include "runtime/platform/qt/loop_free_file_dialog.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/nested_loop_guard.h"
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

// The question or note that the dialog shows on top of itself, if any.
QMessageBox* ShownBox(QWidget& dialog) {
  for (QMessageBox* box : dialog.findChildren<QMessageBox*>()) {
    if (box->isVisible()) return box;
  }
  return nullptr;
}

using rk::testing::RunsNestedLoop;

TEST_F(FileDialogTest, ReplacingAFileIsAskedWithoutANestedLoop) {
  QString tapes = folder_.filePath("TAPES.TXT");
  name_ = tapes.toStdString();
  Ask(kFileDialogSave);
  auto* dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(RunsNestedLoop([&] { dialog->accept(); }));
  QMessageBox* box = ShownBox(*dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("TAPES.TXT"));
  box->button(QMessageBox::No)->click();
  RunUntilIdle();
  EXPECT_EQ(result_, -1) << "not replacing leaves the dialog open";
  EXPECT_TRUE(dialog->isVisible());

  EXPECT_FALSE(RunsNestedLoop([&] { dialog->accept(); }));
  box = ShownBox(*dialog);
  ASSERT_NE(box, nullptr);
  box->button(QMessageBox::Yes)->click();
  RunUntilIdle();
  EXPECT_EQ(result_, 1);
  EXPECT_EQ(QFileInfo(QString::fromStdString(name_)), QFileInfo(tapes));
}

TEST_F(FileDialogTest, AMissingFileIsToldWithoutANestedLoop) {
  name_ = folder_.filePath("MISSING.TXT").toStdString();
  Ask(0);
  auto* dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(RunsNestedLoop([&] { dialog->accept(); }));
  QMessageBox* box = ShownBox(*dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("MISSING.TXT"));
  box->button(QMessageBox::Ok)->click();
  RunUntilIdle();
  EXPECT_EQ(result_, -1);
  ASSERT_TRUE(dialog->isVisible());
  dialog->reject();
  RunUntilIdle();
  EXPECT_EQ(result_, 0);
}

TEST_F(FileDialogTest, TheDeleteKeyNeitherAsksNorDeletes) {
  QString tapes = folder_.filePath("TAPES.TXT");
  name_ = tapes.toStdString();
  Ask(0);
  auto* dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  int deleteKeys = 0;
  for (QShortcut* shortcut : dialog->findChildren<QShortcut*>()) {
    if (shortcut->key() != QKeySequence(QKeySequence::Delete)) continue;
    auto* view = qobject_cast<QAbstractItemView*>(shortcut->parent());
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(view->selectionModel()->selectedRows().isEmpty()) << "the file is selected";
    ++deleteKeys;
    EXPECT_FALSE(RunsNestedLoop([&] { emit shortcut->activated(); }));
  }
  EXPECT_GT(deleteKeys, 0);
  EXPECT_TRUE(QFile::exists(tapes));
  dialog->reject();
  RunUntilIdle();
}

TEST_F(FileDialogTest, DraggingAPlaceStartsNoDrag) {
  name_ = folder_.filePath("TAPES.TXT").toStdString();
  Ask(0);
  auto* dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  // The list of places beside the folder: its entries need no listing of a folder.
  auto* places = dialog->findChild<QAbstractItemView*>("sidebar");
  ASSERT_NE(places, nullptr);
  QModelIndex place = places->model()->index(0, 0);
  ASSERT_TRUE(places->visualRect(place).isValid());
  QPoint from = places->visualRect(place).center();
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), places->viewport()->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(places->viewport(), &event);
  };
  EXPECT_FALSE(RunsNestedLoop([&] {
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, from + QPoint(0, 30), Qt::LeftButton);
    send(QEvent::MouseMove, from + QPoint(0, 60), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from + QPoint(0, 60), Qt::NoButton);
  }));
  // A drag that ran (or, on a display without drags, returned at once) leaves its
  // object behind until the next event pass.
  EXPECT_TRUE(places->findChildren<QDrag*>().isEmpty());
  dialog->reject();
  RunUntilIdle();
}

TEST_F(FileDialogTest, ALookInFolderThatHasGoneIsToldWithoutANestedLoop) {
  ASSERT_TRUE(QDir(folder_.path()).mkdir("GONE"));
  name_ = QDir(folder_.filePath("GONE")).filePath("X.TXT").toStdString();
  Ask(0);
  auto* dialog = OpenDialog<platform::FileDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  auto* lookIn = dialog->findChild<QComboBox*>("lookInCombo");
  ASSERT_NE(lookIn, nullptr);
  auto entryNamed = [&](const QString& name) {
    for (int i = 0; i < lookIn->count(); ++i) {
      QString path = lookIn->itemData(i, Qt::UserRole + 1).toUrl().toLocalFile();
      if (QFileInfo(path).fileName() == name) return i;
    }
    return -1;
  };
  lookIn->showPopup();  // fills the box with the folder's parents
  lookIn->hidePopup();
  int gone = entryNamed("GONE");
  int parent = entryNamed(QFileInfo(folder_.path()).fileName());
  ASSERT_GE(gone, 0);
  ASSERT_GE(parent, 0);
  // What the box emits when the user picks an entry.
  auto pick = [&](int entry) {
    lookIn->setCurrentIndex(entry);
    emit lookIn->activated(entry);
    emit lookIn->textActivated(lookIn->itemText(entry));
  };
  ASSERT_TRUE(QDir(folder_.filePath("GONE")).removeRecursively());
  EXPECT_FALSE(RunsNestedLoop([&] { pick(gone); }));
  QMessageBox* box = ShownBox(*dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("GONE"));
  box->button(QMessageBox::Ok)->click();

  pick(parent);
  EXPECT_EQ(QFileInfo(dialog->directory().path()), QFileInfo(folder_.path()));
  dialog->reject();
  RunUntilIdle();
}

TEST(PrinterDialogTest, ThePrintToFileNameIsAskedForWithoutANestedLoop) {
  rk::testing::EnsureQtApplication();
  QTemporaryDir folder;
  QString existing = folder.filePath("REPORT.PDF");
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  int32_t result = -1;
  START([&] { result = PRINTERDIALOG("Print"); }, 0);
  RunUntilIdle();
  auto* dialog = OpenDialog<platform::PrinterDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  QPrinter& printer = *dialog->printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName({});
  dialog->done(QDialog::Accepted);  // confirmed: to a file, without a name
  RunUntilIdle();
  auto* files = OpenDialog<platform::LoopFreeFileDialog>();
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(result, -1);
  // Typed, as the user would: the dialog has the focus now.
  files->setDirectory(folder.path());
  auto* typed = files->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(typed, nullptr);
  typed->setText("REPORT.PDF");
  EXPECT_FALSE(RunsNestedLoop([&] { files->accept(); }));
  QMessageBox* box = ShownBox(*files);
  ASSERT_NE(box, nullptr);
  box->button(QMessageBox::Yes)->click();
  RunUntilIdle();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(QFileInfo(printer.outputFileName()), QFileInfo(existing));
  printer.setOutputFileName({});
  printer.setOutputFormat(QPrinter::NativeFormat);
}

TEST(PrinterDialogTest, TheOutputFileButtonAsksWithoutANestedLoop) {
  rk::testing::EnsureQtApplication();
  QTemporaryDir folder;
  int32_t result = -1;
  START([&] { result = PRINTERDIALOG("Print"); }, 0);
  RunUntilIdle();
  auto* dialog = OpenDialog<platform::PrinterDialogWidget>();
  ASSERT_NE(dialog, nullptr);
  auto* browse = dialog->findChild<QAbstractButton*>("fileBrowser");
  auto* name = dialog->findChild<QLineEdit*>("filename");
  ASSERT_NE(browse, nullptr);
  ASSERT_NE(name, nullptr);
  EXPECT_FALSE(RunsNestedLoop([&] { emit browse->clicked(); }));
  auto* files = OpenDialog<platform::LoopFreeFileDialog>();
  ASSERT_NE(files, nullptr);
  files->setDirectory(folder.path());
  auto* typed = files->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(typed, nullptr);
  typed->setText("TAPES.PDF");
  files->accept();
  RunUntilIdle();
  EXPECT_EQ(QFileInfo(name->text()), QFileInfo(folder.filePath("TAPES.PDF")));
  EXPECT_EQ(result, -1) << "the printer dialog is still open";
  dialog->reject();
  RunUntilIdle();
  EXPECT_EQ(result, 0);
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
