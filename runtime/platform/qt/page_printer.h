// Printers for the report engine, without Qt types: the installed printers and
// the default printer (Qt's print support, which asks CUPS), the page metrics a
// report lays its pages out in, and a print job that plays page files onto the
// printer or into a PDF file.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace rk::platform {

// What a report's printer settings say. Paper sizes are the device-mode
// numbers (1 letter, 5 legal, 9 A4, ..., 256 user-defined).
struct PrinterSetup {
  std::string printer;  // empty: no printer chosen (the default one if any)
  std::string port;
  int16_t paperSize = 0;   // 0: the printer's own
  int32_t paperWidth = 0;  // tenths of a millimetre, for size 256
  int32_t paperLength = 0;
  bool landscape = false;
  bool toFile = false;
  std::string outputFile;
  int16_t copies = 1;
};

// A page in device pixels: the printable width and height, the pixels per inch,
// and the offset of the printable area from the paper's corner.
struct PageMetrics {
  int32_t width = 0;
  int32_t height = 0;
  int32_t dpiX = 0;
  int32_t dpiY = 0;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
};

std::vector<std::string> InstalledPrinters();
// Empty when no printer is installed or none is the default.
std::string DefaultPrinter();
bool PrinterInstalled(const std::string& name);

// The settings of the shared printer (the one the print dialogs change).
PrinterSetup SharedPrinterSetup();

// The page a report with these settings is laid out on. Without a printer the
// page is the chosen paper at 600 pixels per inch with no unprintable margin.
PageMetrics MetricsOf(const PrinterSetup& setup);

// One print job: Start, then one PrintPageFile per page, then End (also done by
// the destructor). A job goes to the chosen printer, or to a PDF file when
// printing to a file.
class PrintJob {
 public:
  explicit PrintJob(const PrinterSetup& setup);
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // False, with an error text, when there is no printer to print on or the
  // job cannot start.
  bool Start(const std::string& documentName, std::string& error);
  // Plays the page file onto a new page, moved by the printer's unprintable
  // offsets, so that page coordinates are measured from the paper's corner.
  bool PrintPageFile(const std::string& path, std::string& error);
  // The same for a page held in memory (a report printing without preview).
  bool PrintPage(std::span<const uint8_t> bytes, std::string& error);
  void End();
  int32_t PagesPrinted() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace rk::platform
