#include "runtime/windows/standard_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/file_dialog_widget.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/dialog_wait.h"
#include "runtime/windows/thread_input.h"

namespace rk {
namespace {

bool InRuntimeThread() {
  return platform::TheScheduler().Current() != 0 && QApplication::instance() != nullptr;
}

QString PatternsOf(QString patterns) {
  QStringList list = patterns.split(';', Qt::SkipEmptyParts);
  for (QString& pattern : list) {
    pattern = pattern.trimmed();
    if (pattern == "*.*") pattern = "*";
  }
  return list.join(' ');
}

}  // namespace

QStringList NameFiltersOf(std::string_view filter) {
  QStringList parts = platform::FromAnsi(filter.empty() ? kAllFilesFilter : filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = PatternsOf(parts[i + 1]);
    if (patterns.isEmpty()) continue;
    // The display reads the patterns from a filter's last parentheses: patterns the
    // description shows already give way to the ones that apply here.
    QString description = parts[i].trimmed();
    if (description.endsWith(')') && description.contains('(')) {
      description = description.left(description.lastIndexOf('(')).trimmed();
    }
    filters << description + " (" + patterns + ")";
  }
  if (filters.isEmpty()) filters << "All Files (*)";
  return filters;
}

int32_t FILEDIALOG(std::string_view title, std::string& fileName, std::string_view filter,
                   int32_t flags) {
  if (!InRuntimeThread()) return 0;
  platform::FileDialogRequest request;
  request.title = platform::FromAnsi(title);
  request.fileName = platform::FromAnsi(fileName).trimmed();
  request.filters = NameFiltersOf(filter);
  request.save = (flags & kFileDialogSave) != 0;
  platform::Scheduler& scheduler = platform::TheScheduler();
  auto* dialog =
      new platform::FileDialogWidget(request, DialogOwner(), scheduler, scheduler.Current());
  uintptr_t tag = dialog->Tag();
  platform::PlatformMessage answer;
  {
    ThreadDialogScope modal(*dialog);
    dialog->show();
    answer = WaitForDialogMessage(tag);
  }
  if (answer.param == 0 || !answer.payload) return 0;
  QString chosen = *std::static_pointer_cast<QString>(answer.payload);
  std::string chosenAnsi = platform::ToAnsi(QDir::toNativeSeparators(chosen));
  if (chosenAnsi.empty() || chosenAnsi.size() > kFileNameLimit) return 0;
  fileName = chosenAnsi;
  if (flags & kFileDialogChangeDirectory) QDir::setCurrent(QFileInfo(chosen).absolutePath());
  return 1;
}

int32_t PRINTERDIALOG(std::string_view title, bool setup) {
  if (!InRuntimeThread()) return 0;
  platform::Scheduler& scheduler = platform::TheScheduler();
  auto* dialog =
      new platform::PrinterDialogWidget(platform::SharedPrinter(), platform::FromAnsi(title), setup,
                                        DialogOwner(), scheduler, scheduler.Current());
  uintptr_t tag = dialog->Tag();
  ThreadDialogScope modal(*dialog);
  dialog->show();
  return WaitForDialogResult(tag) != 0 ? 1 : 0;
}

}  // namespace rk
