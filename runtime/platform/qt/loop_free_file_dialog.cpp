#include "runtime/platform/qt/loop_free_file_dialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "runtime/platform/qt/context_menu_block.h"

namespace rk::platform {
namespace {

// Qt's name for the "Look in" box and the role of its entries' paths.
constexpr char kLookInName[] = "lookInCombo";
constexpr int kLookInPathRole = Qt::UserRole + 1;

QMessageBox* OpenBox(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons) {
  auto* box = new QMessageBox(QMessageBox::Warning, parent->windowTitle(), text, buttons, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
  return box;
}

}  // namespace

LoopFreeFileDialog::LoopFreeFileDialog(QWidget* parent) : QFileDialog(parent) {
  BlockContextMenus();
  setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly |
             QFileDialog::DontConfirmOverwrite);
  for (QAbstractItemView* view : findChildren<QAbstractItemView*>()) {
    view->setDragDropMode(QAbstractItemView::NoDragDrop);
  }
  // Qt's own answer to a "Look in" entry whose folder has gone is a nested loop.
  if (auto* lookIn = findChild<QComboBox*>(kLookInName)) {
    disconnect(lookIn, &QComboBox::textActivated, nullptr, nullptr);
    connect(lookIn, &QComboBox::activated, this, &LoopFreeFileDialog::GoToLookInDirectory);
  }
}

void LoopFreeFileDialog::accept() {
  QStringList chosen = selectedFiles();
  if (chosen.isEmpty()) return;
  QFileInfo info(chosen.first());
  if (info.isDir()) {
    QFileDialog::accept();  // opens the folder
  } else if (acceptMode() == QFileDialog::AcceptOpen && !info.exists()) {
    Tell(tr("%1\nFile not found.\nPlease verify the correct file name was given.")
             .arg(info.fileName()));
  } else if (acceptMode() == QFileDialog::AcceptSave && info.exists()) {
    AskToReplace(info.fileName());
  } else {
    QFileDialog::accept();
  }
}

void LoopFreeFileDialog::GoToLookInDirectory(int index) {
  auto* lookIn = findChild<QComboBox*>(kLookInName);
  if (!lookIn) return;
  // An entry without a path is the list of drives and mount points.
  QString path = lookIn->itemData(index, kLookInPathRole).toUrl().toLocalFile();
  if (!path.isEmpty() && !QFileInfo(path).isDir()) {
    Tell(tr("%1\nDirectory not found.\nPlease verify the correct directory name was given.")
             .arg(path));
    return;
  }
  setDirectory(path);
}

void LoopFreeFileDialog::AskToReplace(const QString& name) {
  QMessageBox* box = OpenBox(this, tr("%1 already exists.\nDo you want to replace it?").arg(name),
                             QMessageBox::Yes | QMessageBox::No);
  box->setDefaultButton(QMessageBox::No);
  connect(box->button(QMessageBox::Yes), &QAbstractButton::clicked, this,
          [this] { QFileDialog::accept(); });
}

void LoopFreeFileDialog::Tell(const QString& text) {
  OpenBox(this, text, QMessageBox::Ok);
}

}  // namespace rk::platform
