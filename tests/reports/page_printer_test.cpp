#include "runtime/platform/qt/page_printer.h"

#include <gtest/gtest.h>

#include "runtime/reports/report.h"
#include "runtime/reports/report_statements.h"
#include "tests/reports/report_test_support.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::MetricsOf;
using platform::PrinterSetup;

// Measured without a printer: the paper at 600 pixels per inch, no margin.
PrinterSetup WithoutPrinter() {
  PrinterSetup setup;
  setup.printer = "No Such Printer";
  return setup;
}

TEST(PagePrinterTest, DeviceModePaperAndOrientationShapeThePage) {
  testing::EnsureQtApplication();
  PrinterSetup letter = WithoutPrinter();
  letter.paperSize = 1;
  PrinterSetup legal = WithoutPrinter();
  legal.paperSize = 5;
  PrinterSetup a4 = WithoutPrinter();
  a4.paperSize = 9;
  PrinterSetup landscape = letter;
  landscape.landscape = true;
  PrinterSetup custom = WithoutPrinter();
  custom.paperSize = 256;
  custom.paperWidth = 1270;  // 5 by 8 inches in tenths of a millimetre
  custom.paperLength = 2032;

  EXPECT_EQ(MetricsOf(letter).width, 5100);
  EXPECT_EQ(MetricsOf(letter).height, 6600);
  EXPECT_EQ(MetricsOf(letter).dpiX, 600);
  EXPECT_EQ(MetricsOf(legal).height, 8400);
  EXPECT_NEAR(MetricsOf(a4).width, 4961, 4);  // 210 mm, as Qt rounds it to points
  EXPECT_EQ(MetricsOf(landscape).width, 6600);
  EXPECT_EQ(MetricsOf(landscape).height, 5100);
  EXPECT_NEAR(MetricsOf(custom).width, 3000, 1);
  EXPECT_NEAR(MetricsOf(custom).height, 4800, 1);
  EXPECT_EQ(MetricsOf(letter).offsetX, 0);
}

TEST(PagePrinterTest, AJobWithoutAnInstalledPrinterFailsWithAReason) {
  testing::EnsureQtApplication();
  platform::PrintJob job(WithoutPrinter());
  std::string error;
  EXPECT_FALSE(job.Start("doc", error));
  EXPECT_NE(error.find("No Such Printer"), std::string::npos) << error;
  EXPECT_FALSE(job.PrintPageFile("/nonexistent", error));
  EXPECT_EQ(job.PagesPrinted(), 0);

  PrinterSetup toFile;
  toFile.toFile = true;  // but no file named
  platform::PrintJob unnamed(toFile);
  EXPECT_FALSE(unnamed.Start("doc", error));
  EXPECT_NE(error.find("No output file"), std::string::npos) << error;
}

TEST(PagePrinterTest, PrinterPropertiesChangeOnlyToInstalledPrinters) {
  testing::EnsureQtApplication();
  report_testing::PageFolder folder;
  Report report;
  report.Printer().printer = "Kept";
  std::vector<std::string> installed = platform::InstalledPrinters();
  SetProperty(report, 0, report_property::kPrinterDevice, "No Such Printer");
  EXPECT_EQ(report.Printer().printer, "Kept");
  SetProperty(report, 0, report_property::kPrinterDevice,
              std::to_string(installed.size() + 1));  // beyond the list
  EXPECT_EQ(report.Printer().printer, "Kept");
  if (!installed.empty()) {
    SetProperty(report, 0, report_property::kPrinterDevice, "1");
    EXPECT_EQ(report.Printer().printer, installed[0]);
  }
  SetProperty(report, 0, report_property::kPaperSize, "5");
  SetProperty(report, 0, report_property::kOrientation, "2");
  SetProperty(report, 0, report_property::kPrintToFile, "1");
  SetProperty(report, 0, report_property::kOutputFile, "/tmp/out.pdf");
  EXPECT_EQ(report.Printer().paperSize, 5);
  EXPECT_TRUE(report.Printer().landscape);
  EXPECT_EQ(GetProperty(report, 0, report_property::kOrientation), "2");
  EXPECT_EQ(GetProperty(report, 0, report_property::kPrintToFile), "1");
  EXPECT_EQ(GetProperty(report, 0, report_property::kOutputFile), "/tmp/out.pdf");
}

TEST(PagePrinterTest, AReportsPaperRecordAndLandscapeFlagReachItsPage) {
  testing::EnsureQtApplication();
  report_testing::PageFolder folder;
  report_testing::PreviewQueue pages;
  StructureRecord definition = report_testing::ReportOf({});
  definition.flags |= 0x1;                          // landscape
  definition.paper = PaperRecord{256, 5000, 8000};  // 5 by 8 inches in report units
  Report report;
  platform::PrinterSetup seen;
  report.SetMetricsSource([&seen](const PrinterSetup& setup) {
    seen = setup;
    return report_testing::LetterAt(600);
  });
  report.BindPreviewQueue(&pages.queue());
  report.Open(std::move(definition));
  EXPECT_TRUE(seen.landscape);
  EXPECT_EQ(seen.paperSize, 256);
  EXPECT_EQ(seen.paperWidth, 1270);  // tenths of a millimetre
  EXPECT_EQ(seen.paperLength, 2032);
}

}  // namespace
}  // namespace rk
