#include "runtime/platform/qt/file_dialog_widget.h"

#include <QFileInfo>
#include <memory>

namespace rk::platform {

FileDialogWidget::FileDialogWidget(const FileDialogRequest& request, QWidget* owner,
                                   Scheduler& scheduler, FiberId thread)
    : LoopFreeFileDialog(owner), reporter_(scheduler, thread, Tag(), 0) {
  setAttribute(Qt::WA_DeleteOnClose);
  setOption(QFileDialog::DontUseNativeDialog);
  // With an owner, its thread keeps its own windows from taking input; other
  // threads' windows, which may share the owner's frame, keep working.
  setWindowModality(owner ? Qt::NonModal : Qt::ApplicationModal);
  if (!request.title.isEmpty()) setWindowTitle(request.title);
  if (!request.filters.isEmpty()) setNameFilters(request.filters);
  if (request.save) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
  } else {
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
  }
  if (!request.fileName.isEmpty()) {
    QFileInfo info(request.fileName);
    if (info.dir().exists()) setDirectory(info.absoluteDir());
    selectFile(info.fileName());
  }
}

void FileDialogWidget::done(int result) {
  QStringList chosen = selectedFiles();
  if (result == QDialog::Accepted && !chosen.isEmpty()) {
    reporter_.Report(1, std::make_shared<QString>(chosen.first()));
  } else {
    reporter_.Report(0);
  }
  QFileDialog::done(result);
}

}  // namespace rk::platform
