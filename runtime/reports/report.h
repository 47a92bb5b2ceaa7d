// The report object: built from a REPORT definition, it places detail bands on
// pages as PRINT names them, applies the group breaks before each detail, and
// finishes pages either into page files (preview mode: a queue of page names is
// bound) or onto the printer. Closing ends the print job and deletes every page
// file the report wrote.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/files/queue.h"
#include "runtime/platform/qt/metafile_writer.h"
#include "runtime/platform/qt/page_printer.h"
#include "runtime/reports/band_renderer.h"
#include "runtime/reports/group_breaks.h"
#include "runtime/reports/page_placer.h"
#include "runtime/reports/report_layout.h"
#include "runtime/windows/definition_tree.h"

namespace rk {

inline constexpr int32_t kEventPostedToReport = 522;
inline constexpr int32_t kMetafileRecordTooLarge = 523;
inline constexpr int32_t kPrinterOpenFailed = 524;
inline constexpr int32_t kReportAlreadyOpen = 525;
inline constexpr int32_t kPrintNotForReport = 538;
inline constexpr int32_t kEndPageNotForReport = 539;

// Band records longer than this many words cannot be copied onto a page.
inline constexpr uint32_t kLargestBandRecordWords = 0x8000;

class Report : private PlacementSink {
 public:
  using MetricsSource = std::function<platform::PageMetrics(const platform::PrinterSetup&)>;

  Report();
  ~Report() override;
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // Builds the report from a definition whose variables are bound. Runtime error
  // 525 when it is open already, 524 when the printer gives no page.
  void Open(StructureRecord definition);
  bool IsOpen() const { return open_; }

  // Places detail band `detail` (from 1, in definition order). 538 when the
  // report has no such detail band.
  void Print(int32_t detail);
  // Finishes the current page even if it is not full; nothing when no band is
  // on it yet.
  void EndPage();
  // Closes the open groups, finishes the last page, ends the print job and
  // deletes every page file.
  void Close();

  // Preview mode: the queue that receives the page names (80-byte entries).
  void BindPreviewQueue(QueueDescriptor* queue) { preview_ = queue; }
  QueueDescriptor* PreviewQueue() const { return preview_; }
  // Prints the pages still named in the preview queue, in queue order, taking
  // each name out of the queue as its page is done.
  void SetFlushPreview(bool on);
  bool FlushPreview() const { return flushing_; }

  // A STRING's text or an IMAGE's file name, by control number.
  void SetControlText(int32_t control, std::string text);

  // Printer settings, changed through the printer properties.
  platform::PrinterSetup& Printer() { return setup_; }
  // Takes the printer, output file and copies chosen in the print dialog since
  // the report opened; the report keeps its own paper and orientation.
  void TakeSharedPrinter();
  // Layout measures; tests and benchmarks give their own.
  void SetMetricsSource(MetricsSource source) { metricsSource_ = std::move(source); }

  int32_t PageNumber() const { return context_.pageNumber; }
  int32_t PagesFinished() const { return pagesFinished_; }
  const std::vector<std::string>& PageFiles() const { return pageFiles_; }
  const platform::PageMetrics& Metrics() const { return metrics_; }
  // A print job that could not start, or a page that could not be kept, marks the
  // report failed; later pages do nothing. The text says why.
  bool Failed() const { return failed_; }
  const std::string& FailureText() const { return failure_; }

  // Closes every open report (the program is ending).
  static void CloseAllOpen();

 private:
  void FinishPage() override;
  void PlaceBand(int id, int32_t y) override;

  void ApplyPaper();
  void ApplyGroupActions(const std::vector<GroupAction>& actions);
  RenderedBand Render(const BandRecord& band) const;
  void Submit(const BandRecord& band, bool hold);
  bool StartPage();
  void DrawAbsolute(const BandRecord& band, const platform::MetafileWriter& records);
  void Replay(const platform::MetafileWriter& records, int32_t x, int32_t y);
  void KeepPage(const std::vector<uint8_t>& bytes);
  bool StartJob();
  void AddToPreview(const std::string& name);
  void PrintPreviewedPages();
  void Fail(std::string text);
  void DeletePageFiles();

  bool open_ = false;
  std::unique_ptr<StructureRecord> definition_;
  ReportLayout layout_;
  std::unique_ptr<GroupBreaks> breaks_;
  std::unique_ptr<PagePlacer> placer_;
  BandContext context_;
  std::map<int32_t, std::string> texts_;
  platform::PrinterSetup setup_;
  platform::PageMetrics metrics_;
  MetricsSource metricsSource_;
  Position area_{};  // the detail area in device pixels
  std::optional<platform::MetafileWriter> form_;
  std::optional<platform::MetafileWriter> page_;
  std::vector<RenderedBand> pending_;  // rendered bands waiting in the placer
  QueueDescriptor* preview_ = nullptr;
  bool flushing_ = false;
  std::unique_ptr<platform::PrintJob> job_;
  bool failed_ = false;
  std::string failure_;
  int32_t pagesFinished_ = 0;
  std::vector<std::string> pageFiles_;
};

}  // namespace rk
