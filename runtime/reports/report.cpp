#include "runtime/reports/report.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/core/halt.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/platform/qt/metafile_format.h"
#include "runtime/platform/qt/metafile_reader.h"
#include "runtime/reports/band_flags.h"
#include "runtime/reports/page_files.h"
#include "runtime/reports/variable_text.h"
#include "runtime/windows/variable_binding.h"

namespace rk {

namespace {

constexpr int32_t kLandscapeFlag = 0x1;
constexpr int16_t kUserDefinedPaper = 256;

std::vector<Report*>& OpenReports() {
  static std::vector<Report*> reports;
  return reports;
}

// Reports still open when the program ends (Halt, a runtime error) are closed by
// an exit procedure, so that no page file outlives the program.
void RegisterOpen(Report* report) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterExitProcedure([] { Report::CloseAllOpen(); });
  }
  OpenReports().push_back(report);
}

void Unregister(Report* report) {
  auto& reports = OpenReports();
  reports.erase(std::remove(reports.begin(), reports.end(), report), reports.end());
}

int16_t Clamp16(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

std::string ClippedEntry(const QueueDescriptor& queue) {
  std::string name(reinterpret_cast<const char*>(queue.buffer), queue.recordLength);
  name = name.substr(0, name.find('\0'));
  return std::string(ClipRight(name));
}

}  // namespace

Report::Report() {
  context_.texts = &texts_;
  metricsSource_ = [](const platform::PrinterSetup& setup) { return platform::MetricsOf(setup); };
}

Report::~Report() {
  Close();
}

void Report::CloseAllOpen() {
  std::vector<Report*> reports = OpenReports();
  for (Report* report : reports) report->Close();
}

void Report::Open(StructureRecord definition) {
  if (open_) RuntimeError(kReportAlreadyOpen);
  definition_ = std::make_unique<StructureRecord>(std::move(definition));
  std::string error;
  if (!BuildReportLayout(*definition_, layout_, error))
    RuntimeError(runtime_error_code::kInternalError02, error);

  setup_ = platform::SharedPrinterSetup();
  if (!platform::PrinterInstalled(setup_.printer)) setup_.printer = platform::DefaultPrinter();
  setup_.landscape = (definition_->flags & kLandscapeFlag) != 0;
  metrics_ = metricsSource_(setup_);
  ApplyPaper();
  if (metrics_.width <= 0 || metrics_.height <= 0 || metrics_.dpiX <= 0 || metrics_.dpiY <= 0) {
    RuntimeError(kPrinterOpenFailed, "the printer gives no page to print on");
  }

  DeviceMetrics device{metrics_.dpiX, metrics_.dpiY, 0, 0};
  context_.scale = ScaleFor(definition_->units(), device);
  context_.dpiY = metrics_.dpiY;
  context_.font = InheritFont(definition_->font, ReportFont{});
  area_ = ToPixels(definition_->at, context_.scale);

  const DataDescriptor* previewUse = definition_->preview ? &*definition_->preview : nullptr;
  if (previewUse != nullptr && previewUse->binding.kind == BindingKind::kQueue &&
      previewUse->binding.address != nullptr) {
    preview_ = static_cast<QueueDescriptor*>(previewUse->binding.address);
  }
  breaks_ = std::make_unique<GroupBreaks>(
      [this](int group) { return VariableBytes(*layout_.breaks[group].record->use); });
  placer_ = std::make_unique<PagePlacer>(area_[3], static_cast<PlacementSink&>(*this));
  form_.reset();
  if (layout_.form != nullptr) form_.emplace(Render(*layout_.form).records);

  context_.pageNumber = 1;
  pagesFinished_ = 0;
  failed_ = false;
  failure_.clear();
  open_ = true;
  RegisterOpen(this);
}

void Report::ApplyPaper() {
  if (!definition_->paper) return;
  const PaperRecord& paper = *definition_->paper;
  setup_.paperSize = paper.size;
  if (paper.size == kUserDefinedPaper) {
    // Report units to printer pixels, then to tenths of a millimetre.
    UnitScale scale = ScaleFor(definition_->units(), {metrics_.dpiX, metrics_.dpiY, 0, 0});
    setup_.paperWidth = ToPixels(paper.width, scale.x) * 254 / std::max(1, metrics_.dpiX);
    setup_.paperLength = ToPixels(paper.length, scale.y) * 254 / std::max(1, metrics_.dpiY);
  }
  metrics_ = metricsSource_(setup_);
}

void Report::TakeSharedPrinter() {
  platform::PrinterSetup shared = platform::SharedPrinterSetup();
  setup_.printer = shared.printer;
  setup_.port = shared.port;
  setup_.toFile = shared.toFile;
  setup_.outputFile = shared.outputFile;
  setup_.copies = shared.copies;
  if (!platform::PrinterInstalled(setup_.printer)) setup_.printer = platform::DefaultPrinter();
}

void Report::SetControlText(int32_t control, std::string text) {
  texts_[control] = std::move(text);
}

// Bands are rendered for the page that is current: a header or footer as its
// page starts, a detail when it is printed.
RenderedBand Report::Render(const BandRecord& band) const {
  return RenderBand(band, context_);
}

void Report::Print(int32_t detail) {
  if (!open_) return;
  if (detail < 1 || detail > static_cast<int32_t>(layout_.details.size())) {
    RuntimeError(kPrintNotForReport);
  }
  if (failed_) return;
  ApplyGroupActions(breaks_->BeforeDetail(layout_.EnclosingBreaks(detail - 1)));
  const BandRecord& band = *layout_.details[detail - 1].record;
  if ((band.flags & band_flag::kAbsolute) != 0) {
    if (page_ || StartPage()) DrawAbsolute(band, Render(band).records);
    return;
  }
  Submit(band, (band.flags & band_flag::kKeepWithNext) != 0);
}

void Report::ApplyGroupActions(const std::vector<GroupAction>& actions) {
  for (const GroupAction& action : actions) {
    const ReportBreak& group = layout_.breaks[action.group];
    if (action.kind == GroupAction::kClose && group.footer != nullptr) {
      Submit(*group.footer, (group.footer->flags & band_flag::kKeepWithNext) != 0);
    } else if (action.kind == GroupAction::kOpen && group.header != nullptr) {
      Submit(*group.header, true);  // a group header stays with what follows it
    }
  }
}

void Report::Submit(const BandRecord& band, bool hold) {
  pending_.push_back(Render(band));
  int id = static_cast<int>(pending_.size()) - 1;
  if (hold) {
    placer_->Hold(id, pending_.back().height);
    return;
  }
  placer_->Place(id, pending_.back().height);
  pending_.clear();
}

void Report::PlaceBand(int id, int32_t y) {
  if (failed_ || (!page_ && !StartPage())) return;
  const RenderedBand& band = pending_[id];
  Replay(band.records, area_[0] + band.x, area_[1] + y);
}

bool Report::StartPage() {
  if (preview_ == nullptr && !job_ && !StartJob()) return false;
  page_.emplace();
  page_->SetWindowOrg(0, 0);
  page_->SetWindowExt(Clamp16(metrics_.width), Clamp16(metrics_.height));
  if (form_) {
    Position at = ToPixels(layout_.form->at, context_.scale);
    Replay(*form_, at[0], at[1]);
  }
  if (layout_.pageHeader != nullptr) {
    DrawAbsolute(*layout_.pageHeader, Render(*layout_.pageHeader).records);
  }
  if (layout_.pageFooter != nullptr) {
    DrawAbsolute(*layout_.pageFooter, Render(*layout_.pageFooter).records);
  }
  return true;
}

void Report::DrawAbsolute(const BandRecord& band, const platform::MetafileWriter& records) {
  Position at = ToPixels(band.at, context_.scale);
  Replay(records, at[0], at[1]);
}

// Copies a band's records onto the page, each moved to the band's place.
void Report::Replay(const platform::MetafileWriter& records, int32_t x, int32_t y) {
  const std::vector<uint16_t>& words = records.Records();
  size_t at = 0;
  while (at + platform::meta::kRecordHeaderWords <= words.size()) {
    uint32_t size = words[at] | (static_cast<uint32_t>(words[at + 1]) << 16);
    if (size > kLargestBandRecordWords || size < platform::meta::kRecordHeaderWords ||
        size > words.size() - at) {
      RuntimeError(kMetafileRecordTooLarge);
    }
    page_->AppendRecord(std::span<const uint16_t>(words.data() + at, size), Clamp16(x), Clamp16(y));
    at += size;
  }
}

void Report::FinishPage() {
  if (!page_) return;
  std::vector<uint8_t> bytes = platform::PlaceableHeaderBytes(
      Clamp16(metrics_.width), Clamp16(metrics_.height), static_cast<uint16_t>(metrics_.dpiX));
  std::vector<uint8_t> body = page_->Finish();
  page_.reset();
  bytes.insert(bytes.end(), body.begin(), body.end());
  KeepPage(bytes);
  ++context_.pageNumber;
  ++pagesFinished_;
}

void Report::KeepPage(const std::vector<uint8_t>& bytes) {
  if (failed_) return;
  if (preview_ == nullptr) {
    std::string error;
    if (!job_ || !job_->PrintPage(bytes, error)) Fail("page not printed: " + error);
    return;
  }
  std::span<const uint8_t> all(bytes);
  PageFileFailure failure;
  auto name = WritePageFile(all.first(platform::kPlaceableHeaderBytes),
                            all.subspan(platform::kPlaceableHeaderBytes), failure);
  if (!name) {
    SetError(static_cast<int32_t>(300 + failure.osError), failure.folder);
    Fail("cannot write a page file in the temporary folder " + failure.folder + ": " +
         MessageText(static_cast<int32_t>(300 + failure.osError)));
    return;
  }
  if (name->size() > preview_->recordLength) {
    RemovePageFile(*name);
    Fail("the page file name " + *name + " is longer than the preview queue's entries");
    return;
  }
  pageFiles_.push_back(*name);
  AddToPreview(*name);
}

void Report::AddToPreview(const std::string& name) {
  QueueDescriptor& queue = *preview_;
  std::memset(queue.buffer, ' ', queue.recordLength);
  std::memcpy(queue.buffer, name.data(), std::min<size_t>(name.size(), queue.recordLength));
  ADD(queue);
}

bool Report::StartJob() {
  job_ = std::make_unique<platform::PrintJob>(setup_);
  std::string error;
  if (job_->Start(definition_->title, error)) return true;
  job_.reset();
  Fail(error);
  return false;
}

void Report::Fail(std::string text) {
  failed_ = true;
  failure_ = std::move(text);
}

void Report::EndPage() {
  if (!open_) return;
  placer_->Flush();
  pending_.clear();
  FinishPage();
  placer_->PageFinished();
}

void Report::SetFlushPreview(bool on) {
  flushing_ = on;
  if (on && open_) PrintPreviewedPages();
}

void Report::PrintPreviewedPages() {
  while (preview_ != nullptr && RECORDS(*preview_) > 0) {
    GET(*preview_, 1);
    std::string error;
    auto bytes = platform::ReadWholeFile(ClippedEntry(*preview_), error);
    if (bytes && !failed_ && (job_ || StartJob()) && !job_->PrintPage(*bytes, error)) {
      Fail("page not printed: " + error);
    }
    DELETE(*preview_);
  }
}

void Report::DeletePageFiles() {
  for (const std::string& name : pageFiles_) RemovePageFile(name);
  pageFiles_.clear();
}

void Report::Close() {
  if (!open_) return;
  if (!failed_) ApplyGroupActions(breaks_->CloseAll());
  placer_->Flush();
  pending_.clear();
  FinishPage();
  if (job_) job_->End();
  job_.reset();
  DeletePageFiles();
  preview_ = nullptr;
  flushing_ = false;
  form_.reset();
  open_ = false;
  Unregister(this);
}

}  // namespace rk
