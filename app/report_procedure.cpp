// The report procedures' one implementation: the progress window's loop, the
// batches read on its timer, the record handed to the report per the row, and
// the end of the run (preview, printing, closing).
#include "app/report_procedure.h"

#include <memory>
#include <string>
#include <vector>

#include "app/file_uses.h"
#include "app/report_progress.h"
#include "app/standard_messages.h"
#include "app/thread_globals.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/view.h"
#include "runtime/reports/report.h"
#include "runtime/reports/report_statements.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/standard_dialogs.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"

namespace rk {

void REPORTPREVIEW(QueueDescriptor& pages);

namespace {

constexpr int32_t kRecordsPerCycle = 25;
constexpr int32_t kViewAccess = kAccessReadWrite | kDenyWrite;  // 0x22
constexpr uint32_t kPageNameLength = 80;
constexpr FieldSpec kPageNameField[] = {{"PAGE", 0, kString, kPageNameLength}};

// The progress window's controls.
constexpr int32_t kUserText = 2;
constexpr int32_t kPercentText = 3;
constexpr int32_t kCancel = 4;

// What runs when no test has set its own.
void ShowPreview(QueueDescriptor& pages) {
  REPORTPREVIEW(pages);
}
bool AskForPrinter() {
  return PRINTERDIALOG() != 0;
}

ReportPreviewCall& PreviewCall() {
  static ReportPreviewCall call = ShowPreview;
  return call;
}

ReportPrintDialogCall& PrintDialogCall() {
  static ReportPrintDialogCall call = AskForPrinter;
  return call;
}

std::vector<CollectionFileId> FilesOf(const ReportSpec& spec) {
  switch (spec.source) {
    case ReportSource::kItemsWithTape:
      return {CollectionFileId::kItems, CollectionFileId::kHtapes};
    case ReportSource::kVideosWithCast:
      return {CollectionFileId::kVideos, CollectionFileId::kCast};
    case ReportSource::kFile:
      break;
  }
  return {spec.file};
}

class ReportRun {
 public:
  explicit ReportRun(const ReportSpec& spec)
      : spec_(spec),
        file_(CollectionFile(spec.file)),
        pages_(kPageNameField, kPageNameLength),
        progress_(0) {}

  void Run();

 private:
  void OpenFiles();
  void CloseFiles();
  void SendToFiles(std::string_view option);
  std::unique_ptr<View> MakeView();
  void HandleEvent();
  void Begin();
  void Cycle();
  bool ReadNext();
  void PrintRecord();
  void FetchTape();
  void Finish();
  void PreviewAndPrint();

  const ReportSpec& spec_;
  DeclaredFile& file_;
  std::unique_ptr<View> view_;
  Report report_;
  DeclaredQueue pages_;
  ReportProgress progress_;
  Window window_;
  int32_t localResponse_ = kResponseCancelled;
  bool ended_ = false;
};

void ReportRun::Run() {
  localResponse_ = kResponseCancelled;
  GlobalRequest() = 0;
  GlobalResponse() = 0;
  OpenFiles();
  progress_ = ReportProgress(RECORDS(file_.file()));
  ClearError();
  std::string label = std::string(spec_.procedure) + "$PROGRESSWINDOW";
  OpenWindow(window_, WindowKind::kPlain, spec_.tag, label, {progress_.percentage()});
  SetProperty(kPercentText, property::kText, progress_.Text());
  SetProperty(0, property::kText, "Generating Report");
  SetProperty(kUserText, property::kText, "");
  SendToFiles("QUICKSCAN=on");
  DISPLAY();
  for (AcceptLoop loop; loop.Next();) HandleEvent();
  if (window_.IsOpen()) CloseWindow(window_);
  Finish();
}

// Each file is opened by the thread's first user of it and bound by name.
void ReportRun::OpenFiles() {
  OpenFileUses(FilesOf(spec_));
}

void ReportRun::CloseFiles() {
  CloseFileUses(FilesOf(spec_));
}

// Driver options are hints: a driver that does not know one says so and
// nothing changes, which is no reason to stop the run.
void ReportRun::SendToFiles(std::string_view option) {
  for (CollectionFileId id : FilesOf(spec_)) SEND(CollectionFile(id).file(), option);
  ClearError();
}

std::unique_ptr<View> ReportRun::MakeView() {
  std::vector<ViewFileSpec> levels{PrimaryFile(file_.file())};
  if (spec_.source == ReportSource::kVideosWithCast) {
    DeclaredFile& cast = CollectionFile(CollectionFileId::kCast);
    levels.push_back(JoinedFile(*cast.key("CAS:SERIALN"), {1}));
  }
  return std::make_unique<View>(std::move(levels));
}

void ReportRun::HandleEvent() {
  switch (EVENT()) {
    case event::kOpenWindow:
      Begin();
      break;
    case event::kTimer:
      Cycle();
      break;
    case event::kAccepted:
      if (FIELD() == kCancel) {
        localResponse_ = kResponseCancelled;
        POST(event::kCloseWindow);
      }
      break;
    default:
      break;
  }
}

// The first record decides whether there is a report at all: an empty file
// closes the window without one.
void ReportRun::Begin() {
  if (view_) return;
  SET(file_.file(), *file_.key(spec_.key));
  view_ = MakeView();
  OPEN(*view_, kViewAccess);
  if (!ReadNext()) {
    POST(event::kCloseWindow);
    return;
  }
  std::vector<void*> addresses;
  for (const char* name : spec_.bindings) addresses.push_back(CollectionVariable(name));
  addresses.push_back(nullptr);
  SetPreviewQueue(report_, &pages_.queue());
  std::string label = std::string(spec_.procedure) + "$REPORT";
  OPEN(report_, spec_.tag, label, addresses.data());
}

void ReportRun::Cycle() {
  if (!report_.IsOpen() || ended_) return;
  for (int32_t i = 0; i < kRecordsPerCycle; ++i) {
    PrintRecord();
    if (!ReadNext()) {
      localResponse_ = kResponseCompleted;
      POST(event::kCloseWindow);
      return;
    }
  }
}

// False at the end of the view, and after a read error (which is reported).
bool ReportRun::ReadNext() {
  NEXT(*view_);
  int32_t error = ErrorCode();
  if (error != 0) {
    ClearError();
    if (error != file_error::kRecordNotAvailable) SHOWMESSAGE(35, file_.label());
    ended_ = true;
    return false;
  }
  if (progress_.Count()) {
    SetProperty(kPercentText, property::kText, progress_.Text());
    DISPLAY();
  }
  return true;
}

void ReportRun::PrintRecord() {
  if (spec_.source == ReportSource::kItemsWithTape) FetchTape();
  for (int32_t band : spec_.bands) PRINT(report_, band);
}

// The item's tape heads its group; a tape that is gone leaves the heading blank.
void ReportRun::FetchTape() {
  DeclaredFile& items = CollectionFile(CollectionFileId::kItems);
  DeclaredFile& tapes = CollectionFile(CollectionFileId::kHtapes);
  tapes.setText("HTA:SERIAL", items.text("ITE:SERIAL"));
  GET(tapes.file(), *tapes.key("HTA:SERIAL_NO"));
  if (ErrorCode() != 0) {
    ClearError();
    ClearRecordOf(tapes);
  }
}

void ReportRun::Finish() {
  SendToFiles("QUICKSCAN=off");
  if (view_) CLOSE(*view_);
  ClearError();
  if (localResponse_ == kResponseCompleted && report_.IsOpen()) {
    ENDPAGE(report_);
    PreviewAndPrint();
  }
  if (report_.IsOpen()) CLOSE(report_);
  FREE(pages_.queue());
  CloseFiles();
  GlobalResponse() = kResponseCancelled;
  ClearError();
}

// "Print" in the preview asks where to print; cancelling that question goes
// back to the preview with the same pages, as the person left it.
void ReportRun::PreviewAndPrint() {
  for (;;) {
    PreviewCall()(pages_.queue());
    if (GlobalResponse() != kResponseCompleted) return;
    if (PrintDialogCall()()) break;
  }
  report_.TakeSharedPrinter();
  SetProperty(report_, 0, report_property::kFlushPreview, "1");
}

}  // namespace

void RunReport(const ReportSpec& spec) {
  ReportRun run(spec);
  run.Run();
}

void SetReportPrintDialogCall(ReportPrintDialogCall call) {
  if (!call) call = AskForPrinter;
  PrintDialogCall() = std::move(call);
}

void SetReportPreviewCall(ReportPreviewCall call) {
  if (!call) call = ShowPreview;
  PreviewCall() = std::move(call);
}

}  // namespace rk
