// The preview window's loop. Its menu bar's items act as buttons; three page
// frames (left, right, centre: a box, an image and a click region each) and one
// full-window image show the pages, and four status zones say what is shown.
#include "app/report_preview.h"

#include <algorithm>
#include <string>

#include "app/thread_globals.h"
#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

constexpr const char* kTag = "REELBASE.qvw$reelb_sf";

// The preview window's menu items and controls.
constexpr int32_t kCancelItem = 1;
constexpr int32_t kPrintItem = 2;
constexpr int32_t kZoomItem = 3;
constexpr int32_t kPreviousItem = 4;
constexpr int32_t kNextItem = 5;
constexpr int32_t kJumpItem = 6;
constexpr int32_t kFacingItem = 7;
struct PageFrame {
  int32_t box, image, region;
};
constexpr PageFrame kLeft{8, 9, 10};
constexpr PageFrame kRight{11, 12, 13};
constexpr PageFrame kCentre{14, 15, 16};
constexpr int32_t kZoomImage = 17;

// The jump window's controls.
constexpr int32_t kJumpSpin = 2;
constexpr int32_t kJumpOk = 3;
constexpr int32_t kJumpCancel = 4;

enum class Mode : uint8_t { kSingle = 0, kZoomed = 1, kFacing = 2 };

class Preview {
 public:
  explicit Preview(QueueDescriptor& pages) : pages_(pages), count_(RECORDS(pages)) {}
  void Run();

 private:
  void HandleEvent();
  void Show();
  void ShowFrame(const PageFrame& frame, int32_t page);
  void HideFrame(const PageFrame& frame);
  void Zone(int32_t zone, const std::string& text);
  std::string PageName(int32_t page);
  void Move(int32_t direction);
  void ToggleZoom();
  void ToggleFacing();
  void Jump();
  void Rename(int32_t item, const char* text, const char* message);

  QueueDescriptor& pages_;
  int32_t count_;
  int32_t current_ = 1;
  int32_t left_ = 0;
  Mode mode_ = Mode::kSingle;
  bool zoomedFromFacing_ = false;
  int32_t jumpPage_ = 0;
  Window window_;
};

void Preview::Run() {
  GlobalResponse() = kResponseCancelled;
  OpenWindow(window_, WindowKind::kPlain, kTag, "REPORTPREVIEW$PREVIEWWINDOW");
  if (count_ <= 1) SetProperty(kFacingItem, property::kDisabled, 1);
  Show();
  for (AcceptLoop loop; loop.Next();) HandleEvent();
  if (window_.IsOpen()) CloseWindow(window_);
  ClearError();
}

void Preview::HandleEvent() {
  int32_t code = EVENT();
  if (code != event::kAccepted) return;
  switch (FIELD()) {
    case kCancelItem:
      POST(event::kCloseWindow);
      break;
    case kPrintItem:
      GlobalResponse() = kResponseCompleted;
      POST(event::kCloseWindow);
      break;
    case kZoomItem:
      ToggleZoom();
      break;
    case kPreviousItem:
      Move(-1);
      break;
    case kNextItem:
      Move(1);
      break;
    case kJumpItem:
      Jump();
      break;
    case kFacingItem:
      ToggleFacing();
      break;
    case kLeft.region:
      current_ = left_;
      ToggleZoom();
      break;
    case kRight.region:
    case kCentre.region:
      ToggleZoom();
      break;
    default:
      break;
  }
}

std::string Preview::PageName(int32_t page) {
  GET(pages_, page);
  std::string name(reinterpret_cast<const char*>(pages_.buffer), pages_.recordLength);
  name.resize(ClipRight(name).size());
  name.erase(name.find_last_not_of('\0') + 1);
  return name;
}

void Preview::ShowFrame(const PageFrame& frame, int32_t page) {
  for (int32_t control : {frame.box, frame.image, frame.region}) {
    SetProperty(control, property::kHidden, 0);
  }
  SetProperty(frame.region, property::kDisabled, 0);
  SetProperty(frame.image, property::kText, PageName(page));
}

void Preview::HideFrame(const PageFrame& frame) {
  for (int32_t control : {frame.box, frame.image, frame.region}) {
    SetProperty(control, property::kHidden, 1);
  }
  SetProperty(frame.region, property::kDisabled, 1);
}

void Preview::Zone(int32_t zone, const std::string& text) {
  SetProperty(0, property::kStatusText, text, zone);
}

// Draws the pages for the mode and says in the status bar what is shown.
void Preview::Show() {
  left_ = current_ - 1;
  const std::string of = " of " + std::to_string(count_);
  if (mode_ == Mode::kZoomed) {
    HideFrame(kLeft);
    HideFrame(kRight);
    HideFrame(kCentre);
    SetProperty(kZoomImage, property::kHidden, 0);
    SetProperty(kZoomImage, property::kText, PageName(current_));
    Zone(2, "ZOOM");
    Zone(4, "Page " + std::to_string(current_) + of);
  } else {
    SetProperty(kZoomImage, property::kHidden, 1);
    Zone(2, "");
  }
  if (mode_ == Mode::kSingle) {
    HideFrame(kLeft);
    HideFrame(kRight);
    ShowFrame(kCentre, current_);
    Zone(3, "Single Page");
    Zone(4, "Page " + std::to_string(current_) + of);
  } else if (mode_ == Mode::kFacing) {
    HideFrame(kCentre);
    bool showLeft = left_ != 0;
    bool showRight = current_ <= count_;
    showLeft ? ShowFrame(kLeft, left_) : HideFrame(kLeft);
    showRight ? ShowFrame(kRight, current_) : HideFrame(kRight);
    std::string shown = showLeft && showRight
                            ? "Pages " + std::to_string(left_) + " and " + std::to_string(current_)
                            : "Page " + std::to_string(showLeft ? left_ : current_);
    Zone(3, "Facing Pages");
    Zone(4, shown + of);
  }
  SetProperty(kPreviousItem, property::kDisabled, current_ == 1 ? 1 : 0);
  SetProperty(kNextItem, property::kDisabled, current_ >= count_ ? 1 : 0);
  DISPLAY();
}

void Preview::Move(int32_t direction) {
  current_ += direction * (mode_ == Mode::kFacing ? 2 : 1);
  current_ = std::max(current_, int32_t{1});
  Show();
}

void Preview::Rename(int32_t item, const char* text, const char* message) {
  SetProperty(item, property::kText, text);
  SetProperty(item, property::kStatusMessage, message);
}

void Preview::ToggleZoom() {
  if (mode_ != Mode::kZoomed) {
    zoomedFromFacing_ = mode_ == Mode::kFacing;
    mode_ = Mode::kZoomed;
    SetProperty(kFacingItem, property::kDisabled, 1);
    Rename(kZoomItem, "&Zoom Out!",
           zoomedFromFacing_ ? "Zoom out to facing page mode" : "Zoom out to full page mode");
  } else {
    mode_ = zoomedFromFacing_ ? Mode::kFacing : Mode::kSingle;
    if (count_ > 1) SetProperty(kFacingItem, property::kDisabled, 0);
    Rename(kZoomItem, "&Zoom In!", "Zoom in on a page of this report");
  }
  Show();
}

// Facing views pair an even left page with the odd page after it, so page 1
// stands alone on the right.
void Preview::ToggleFacing() {
  if (mode_ == Mode::kFacing) {
    if (current_ > count_) current_ = left_;
    mode_ = Mode::kSingle;
    Rename(kFacingItem, "&Facing Pages!", "View the report two pages at a time");
  } else {
    if (current_ % 2 == 0) ++current_;
    mode_ = Mode::kFacing;
    Rename(kFacingItem, "&Single Pages!", "View the report one page at a time");
  }
  Show();
}

void Preview::Jump() {
  jumpPage_ = current_ > count_ ? left_ : current_;
  Window jump;
  OpenWindow(jump, WindowKind::kPlain, kTag, "REPORTPREVIEW$JUMPWINDOW", {&jumpPage_});
  SetProperty(kJumpSpin, property::kRangeHigh, count_);
  DISPLAY();
  for (AcceptLoop loop; loop.Next();) {
    if (EVENT() != event::kAccepted) continue;
    if (FIELD() == kJumpOk) {
      current_ = std::clamp(jumpPage_, int32_t{1}, std::max(count_, int32_t{1}));
      POST(event::kCloseWindow);
    } else if (FIELD() == kJumpCancel) {
      POST(event::kCloseWindow);
    }
  }
  if (jump.IsOpen()) CloseWindow(jump);
  Show();
}

}  // namespace

void REPORTPREVIEW(QueueDescriptor& pages) {
  Preview preview(pages);
  preview.Run();
}

}  // namespace rk
