// The file dialog as a widget: Qt's own file dialog without nested event loops
// (loop_free_file_dialog.h), opened without one either. When it finishes it
// reports 1 with the chosen path (a QString payload) or 0 to the owning runtime
// thread, and deletes itself.
#pragma once

#include <QString>
#include <QStringList>

#include "runtime/platform/qt/dialog_result_reporter.h"
#include "runtime/platform/qt/loop_free_file_dialog.h"

namespace rk::platform {

struct FileDialogRequest {
  QString title;        // empty: the dialog's own caption
  QString fileName;     // shown at the start (its directory is opened)
  QStringList filters;  // Qt name filters, "Description (*.a *.b)"
  bool save = false;    // save: asks before replacing a file; open: the file must exist
};

class FileDialogWidget : public LoopFreeFileDialog {
 public:
  FileDialogWidget(const FileDialogRequest& request, QWidget* owner, Scheduler& scheduler,
                   FiberId thread);

  uintptr_t Tag() const { return reinterpret_cast<uintptr_t>(this); }

  void done(int result) override;

 private:
  DialogResultReporter reporter_;
};

}  // namespace rk::platform
