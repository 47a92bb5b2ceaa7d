#include "runtime/platform/qt/page_printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/metafile_player.h"
#include "runtime/platform/qt/printer_dialog_widget.h"

namespace rk::platform {

namespace {

// Without a printer the page is laid out at this resolution.
constexpr int kResolutionWithoutPrinter = 600;
// Page files keep coordinates in 16 bits.
constexpr int kLargestCoordinate = 0x7FFF;

bool PrintsToPdf(const PrinterSetup& setup, const std::string& printer) {
  return setup.toFile || printer.empty() || !PrinterInstalled(printer);
}

std::string ChosenPrinter(const PrinterSetup& setup) {
  return setup.printer.empty() ? DefaultPrinter() : setup.printer;
}

void SetPaper(QPrinter& printer, const PrinterSetup& setup) {
  if (setup.paperSize == 256 && setup.paperWidth > 0 && setup.paperLength > 0) {
    printer.setPageSize(QPageSize(QSizeF(setup.paperWidth / 10.0, setup.paperLength / 10.0),
                                  QPageSize::Millimeter, {}, QPageSize::ExactMatch));
  } else if (setup.paperSize > 0) {
    QPageSize::PageSizeId id = QPageSize::id(setup.paperSize);
    if (id != QPageSize::Custom) printer.setPageSize(QPageSize(id));
  }
  printer.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

// Lowers the resolution until the page fits the 16-bit coordinates.
void FitResolution(QPrinter& printer) {
  while (printer.resolution() > 72) {
    QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    if (paper.width() <= kLargestCoordinate && paper.height() <= kLargestCoordinate) return;
    printer.setResolution(printer.resolution() / 2);
  }
}

void Configure(QPrinter& printer, const PrinterSetup& setup) {
  std::string name = ChosenPrinter(setup);
  if (PrintsToPdf(setup, name)) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(kResolutionWithoutPrinter);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (setup.toFile) printer.setOutputFileName(FromAnsi(setup.outputFile));
  } else {
    printer.setPrinterName(FromAnsi(name));
  }
  SetPaper(printer, setup);
  printer.setCopyCount(std::max<int>(1, setup.copies));
  FitResolution(printer);
}

}  // namespace

std::vector<std::string> InstalledPrinters() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(ToAnsi(name));
  return names;
}

std::string DefaultPrinter() {
  return ToAnsi(QPrinterInfo::defaultPrinterName());
}

bool PrinterInstalled(const std::string& name) {
  if (name.empty()) return false;
  for (const std::string& installed : InstalledPrinters()) {
    if (installed == name) return true;
  }
  return false;
}

PrinterSetup SharedPrinterSetup() {
  QPrinter& shared = SharedPrinter();
  PrinterSetup setup;
  setup.printer = ToAnsi(shared.printerName());
  setup.toFile = !shared.outputFileName().isEmpty();
  setup.outputFile = ToAnsi(shared.outputFileName());
  setup.landscape = shared.pageLayout().orientation() == QPageLayout::Landscape;
  setup.copies = static_cast<int16_t>(shared.copyCount());
  return setup;
}

PageMetrics MetricsOf(const PrinterSetup& setup) {
  QPrinter printer(QPrinter::HighResolution);
  PrinterSetup measured = setup;
  measured.toFile = false;  // measuring writes nothing
  Configure(printer, measured);
  QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
  QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  return PageMetrics{page.width(),          page.height(),        printer.logicalDpiX(),
                     printer.logicalDpiY(), page.x() - paper.x(), page.y() - paper.y()};
}

struct PrintJob::State {
  QPrinter printer{QPrinter::HighResolution};
  QPainter painter;
  PrinterSetup setup;
  bool started = false;
  int32_t pages = 0;
};

PrintJob::PrintJob(const PrinterSetup& setup) : state_(std::make_unique<State>()) {
  state_->setup = setup;
}

PrintJob::~PrintJob() {
  End();
}

bool PrintJob::Start(const std::string& documentName, std::string& error) {
  const PrinterSetup& setup = state_->setup;
  std::string printer = ChosenPrinter(setup);
  if (!setup.toFile && printer.empty()) {
    error = "No printer is installed";
    return false;
  }
  if (!setup.toFile && !PrinterInstalled(printer)) {
    error = "The printer " + printer + " is not installed";
    return false;
  }
  if (setup.toFile && setup.outputFile.empty()) {
    error = "No output file is named for printing to a file";
    return false;
  }
  Configure(state_->printer, setup);
  state_->printer.setDocName(FromAnsi(documentName));
  if (!state_->painter.begin(&state_->printer)) {
    error = "The print job could not start";
    return false;
  }
  state_->started = true;
  return true;
}

bool PrintJob::PrintPageFile(const std::string& path, std::string& error) {
  auto bytes = ReadWholeFile(path, error);
  if (!bytes) return false;
  if (PrintPage(*bytes, error)) return true;
  error = path + ": " + error;
  return false;
}

bool PrintJob::PrintPage(std::span<const uint8_t> bytes, std::string& error) {
  if (!state_->started) {
    error = "The print job has not started";
    return false;
  }
  auto image = ReadPageImage(bytes, error);
  if (!image) return false;
  if (state_->pages > 0 && !state_->printer.newPage()) {
    error = "The printer did not start a new page";
    return false;
  }
  QRect page = state_->printer.pageRect(QPrinter::DevicePixel).toRect();
  QRect paper = state_->printer.paperRect(QPrinter::DevicePixel).toRect();
  double scaleX = double(state_->printer.logicalDpiX()) / image->header.inch;
  double scaleY = double(state_->printer.logicalDpiY()) / image->header.inch;
  QRectF target(paper.x() - page.x(), paper.y() - page.y(), image->header.right * scaleX,
                image->header.bottom * scaleY);
  ++state_->pages;
  return PlayPageImage(*image, state_->painter, target, error);
}

void PrintJob::End() {
  if (!state_->started) return;
  state_->painter.end();
  state_->started = false;
}

int32_t PrintJob::PagesPrinted() const {
  return state_->pages;
}

}  // namespace rk::platform
