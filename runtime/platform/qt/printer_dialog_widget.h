// The printer dialog as a widget: Qt's print dialog on the shared printer
// settings, opened without a nested event loop. It reports 1 (confirmed) or 0 to
// the owning runtime thread and deletes itself. The setup variant only chooses
// the printer and its settings; the print variant also offers copies with
// collation and a page range. A confirmed choice to print to a file that names no
// file asks for one ("Print To File..."); cancelling that clears the choice.
// Both file dialogs run no nested event loop (loop_free_file_dialog.h).
#pragma once

#include <QPrintDialog>
#include <QPrinter>
#include <QString>
#include <memory>

#include "runtime/platform/qt/dialog_result_reporter.h"

namespace rk::platform {

// The printer settings that every report and printer dialog shares.
QPrinter& SharedPrinter();

class PrinterDialogWidget : public QPrintDialog {
 public:
  // An empty title leaves the dialog's own caption.
  PrinterDialogWidget(QPrinter& printer, const QString& title, bool setup, QWidget* owner,
                      Scheduler& scheduler, FiberId thread);

  uintptr_t Tag() const { return reinterpret_cast<uintptr_t>(this); }

  void done(int result) override;

 private:
  void AskForOutputFile();
  // Qt's "..." beside the output file name asks through a file dialog that runs
  // a nested loop; this asks through one that runs none.
  void BrowseForOutputFile();

  std::shared_ptr<DialogResultReporter> reporter_;
};

}  // namespace rk::platform
