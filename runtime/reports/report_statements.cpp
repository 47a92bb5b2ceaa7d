#include "runtime/reports/report_statements.h"

#include "runtime/core/clipped_text.h"
#include "runtime/core/halt.h"
#include "runtime/windows/definition_open.h"
#include "runtime/windows/property_codes.h"

namespace rk {

namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The installed printer a device value names, or nothing.
std::optional<std::string> ChosenDevice(std::string_view value) {
  value = ClipBoth(value);
  if (value.empty()) {
    std::string printer = platform::DefaultPrinter();
    return printer.empty() ? std::nullopt : std::optional<std::string>(printer);
  }
  std::vector<std::string> printers = platform::InstalledPrinters();
  if (AllDigits(value)) {
    int32_t n = property::NumberOf(value);
    if (n < 1 || n > static_cast<int32_t>(printers.size())) return std::nullopt;
    return printers[n - 1];
  }
  for (const std::string& printer : printers) {
    if (printer == value) return printer;
  }
  return std::nullopt;
}

}  // namespace

void OPEN(Report& report, std::string_view tag, std::string_view label, void* const* addresses) {
  if (report.IsOpen()) RuntimeError(kReportAlreadyOpen);
  report.Open(OpenDefinition(tag, label, addresses));
}

void PRINT(Report& report, int32_t detail) {
  report.Print(detail);
}
void ENDPAGE(Report& report) {
  report.EndPage();
}
void CLOSE(Report& report) {
  report.Close();
}

void PRINT(Window&, int32_t) {
  RuntimeError(kPrintNotForReport);
}
void ENDPAGE(Window&) {
  RuntimeError(kEndPageNotForReport);
}
void POST(Report&, int32_t, int32_t) {
  RuntimeError(kEventPostedToReport);
}

void SetPreviewQueue(Report& report, QueueDescriptor* queue) {
  report.BindPreviewQueue(queue);
}

void SetProperty(Report& report, int32_t control, int32_t code, std::string_view value) {
  using namespace report_property;
  platform::PrinterSetup& setup = report.Printer();
  if (control != 0) {
    if (code == kText) report.SetControlText(control, std::string(value));
    return;
  }
  switch (code) {
    case kFlushPreview:
      report.SetFlushPreview(property::NumberOf(value) != 0);
      break;
    case kPrinterDevice:
      if (auto printer = ChosenDevice(value)) setup.printer = *printer;
      break;
    case kPrinterPort:
      setup.port = std::string(value);
      break;
    case kPrintToFile:
      setup.toFile = property::NumberOf(value) != 0;
      break;
    case kOutputFile:
      setup.outputFile = std::string(value);
      break;
    case kPaperSize:
      setup.paperSize = static_cast<int16_t>(property::NumberOf(value));
      break;
    case kPaperLength:
      setup.paperLength = property::NumberOf(value);
      break;
    case kPaperWidth:
      setup.paperWidth = property::NumberOf(value);
      break;
    case kOrientation:
      setup.landscape = property::NumberOf(value) == 2;
      break;
    case kCopies:
      setup.copies = static_cast<int16_t>(property::NumberOf(value));
      break;
    default:
      break;
  }
}

std::string GetProperty(Report& report, int32_t control, int32_t code) {
  using namespace report_property;
  const platform::PrinterSetup& setup = report.Printer();
  if (control != 0) return {};
  switch (code) {
    case kFlushPreview:
      return report.FlushPreview() ? "1" : "";
    case kPrinterDevice:
      return setup.printer;
    case kPrintToFile:
      return setup.toFile ? "1" : "0";
    case kOutputFile:
      return setup.outputFile;
    case kPaperSize:
      return std::to_string(setup.paperSize);
    case kOrientation:
      return setup.landscape ? "2" : "1";
    default:
      return {};
  }
}

}  // namespace rk
