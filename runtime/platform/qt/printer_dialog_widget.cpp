#include "runtime/platform/qt/printer_dialog_widget.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <memory>

#include "runtime/platform/qt/context_menu_block.h"
#include "runtime/platform/qt/loop_free_file_dialog.h"

namespace rk::platform {
namespace {

bool PrintsToFile(const QPrinter& printer) {
  return printer.outputFormat() == QPrinter::PdfFormat;
}

// Qt's names for the output file's "..." button and name, and the printer list.
constexpr char kBrowseName[] = "fileBrowser";
constexpr char kFileNameName[] = "filename";
constexpr char kPrintersName[] = "printers";

void ClearPrintToFile(QPrinter& printer) {
  printer.setOutputFileName({});
  printer.setOutputFormat(QPrinter::NativeFormat);
}

}  // namespace

QPrinter& SharedPrinter() {
  // Kept for the whole process: reports and dialogs may use it up to the end.
  static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
  return *printer;
}

PrinterDialogWidget::PrinterDialogWidget(QPrinter& printer, const QString& title, bool setup,
                                         QWidget* owner, Scheduler& scheduler, FiberId thread)
    : QPrintDialog(&printer, owner),
      reporter_(std::make_shared<DialogResultReporter>(scheduler, thread, Tag(), 0)) {
  BlockContextMenus();
  setAttribute(Qt::WA_DeleteOnClose);
  // With an owner, its thread keeps its own windows from taking input; other
  // threads' windows, which may share the owner's frame, keep working.
  setWindowModality(owner ? Qt::NonModal : Qt::ApplicationModal);
  QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
  if (setup) {
    setWindowTitle("Print Setup");
  } else {
    options |= QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintPageRange |
               QAbstractPrintDialog::PrintShowPageSize;
  }
  setOptions(options);
  if (!title.isEmpty()) setWindowTitle(title);
  if (auto* browse = findChild<QAbstractButton*>(kBrowseName)) {
    disconnect(browse, &QAbstractButton::clicked, nullptr, nullptr);
    connect(browse, &QAbstractButton::clicked, this, &PrinterDialogWidget::BrowseForOutputFile);
  }
}

void PrinterDialogWidget::done(int result) {
  bool confirmed = result == QDialog::Accepted;
  QPrinter& chosen = *printer();
  if (confirmed && PrintsToFile(chosen) && chosen.outputFileName().isEmpty()) {
    AskForOutputFile();
  } else {
    reporter_->Report(confirmed ? 1 : 0);
  }
  QPrintDialog::done(result);
}

void PrinterDialogWidget::BrowseForOutputFile() {
  QPointer<QLineEdit> name = findChild<QLineEdit*>(kFileNameName);
  auto* files = new LoopFreeFileDialog(this);
  files->setWindowTitle("Print To File ...");
  files->setAttribute(Qt::WA_DeleteOnClose);
  files->setAcceptMode(QFileDialog::AcceptSave);
  files->setWindowModality(Qt::WindowModal);
  if (name && !name->text().isEmpty()) files->selectFile(name->text());
  connect(files, &QFileDialog::finished, this, [this, files, name](int answer) {
    QStringList chosen = files->selectedFiles();
    if (answer != QDialog::Accepted || chosen.isEmpty() || !name) return;
    name->setText(chosen.first());
    // As Qt's own button does: a chosen file selects the printer that writes files.
    if (auto* printers = findChild<QComboBox*>(kPrintersName)) {
      printers->setCurrentIndex(printers->count() - 1);
    }
  });
  files->open();
}

void PrinterDialogWidget::AskForOutputFile() {
  // The printer dialog closes now and the file dialog reports for it; should the
  // file dialog vanish unanswered, the last holder of the reporter reports 0.
  QPrinter* chosen = printer();
  std::shared_ptr<DialogResultReporter> reporter = reporter_;
  auto* files = new LoopFreeFileDialog(parentWidget());
  files->setWindowTitle("Print To File...");
  files->setNameFilter("All files (*)");
  files->setAttribute(Qt::WA_DeleteOnClose);
  files->setAcceptMode(QFileDialog::AcceptSave);
  files->setWindowModality(Qt::ApplicationModal);
  // The owner is disabled while its thread waits; this dialog answers for it.
  files->setEnabled(true);
  QObject::connect(files, &QFileDialog::finished, files, [files, chosen, reporter](int answer) {
    QStringList names = files->selectedFiles();
    if (answer == QDialog::Accepted && !names.isEmpty()) {
      chosen->setOutputFileName(names.first());
    } else {
      ClearPrintToFile(*chosen);
    }
    reporter->Report(1);  // the printer dialog itself was confirmed
  });
  files->show();
}

}  // namespace rk::platform
