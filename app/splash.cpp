#include "app/splash.h"

#include <algorithm>
#include <string>

#include "app/standard_messages.h"
#include "runtime/core/error_state.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/ascii_text_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/queue.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/message_box.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

constexpr std::string_view kTag = "REELBASE.qvw$reelb036";
constexpr int32_t kContinueButton = 3;
constexpr int32_t kUserText = 2;
constexpr int32_t kPercentText = 3;
constexpr int32_t kCancelButton = 4;

constexpr FieldSpec kLineFields[] = {{"LINE", 0, kString, kTextLineLength}};

// The loader: reads the text file into the line queue under its progress window.
class StartTextLoader {
 public:
  StartTextLoader(QueueDescriptor& lines, std::string_view fileName)
      : lines_(lines), fileName_(fileName) {}

  void Load() {
    FREE(lines_);
    text_.setName(fileName_);
    OPEN(text_.file(), kAccessReadOnly | kDenyNone);
    if (ErrorCode() != 0) {
      SHOWMESSAGE(26, fileName_);
      return;
    }
    fileSize_ = BYTES(text_.file());
    if (fileSize_ <= 0) {
      CLOSE(text_.file());
      SHOWMESSAGE(28, fileName_);
      return;
    }
    RunProgressWindow();
    CLOSE(text_.file());
  }

 private:
  void RunProgressWindow() {
    Window progress;
    OpenWindow(progress, WindowKind::kPlain, kTag, "SPLASH$PROGRESSWINDOW", {&percentage_});
    SetProperty(0, property::kText, "Reading File");
    SetProperty(kPercentText, property::kText, "0% Completed");
    SetProperty(kUserText, property::kText, "");
    for (AcceptLoop loop; loop.Next();) {
      switch (EVENT()) {
        case event::kOpenWindow:
          SET(text_.file());
          break;
        case event::kTimer:
          ReadOneCycle();
          if (done_) POST(event::kCloseWindow);
          break;
        case event::kAccepted:
          if (FIELD() == kCancelButton && SHOWMESSAGE(27, fileName_) == kButtonOk) {
            POST(event::kCloseWindow);
          }
          break;
        default:
          break;
      }
    }
    CloseWindow(progress);
  }

  void ReadOneCycle() {
    if (done_) return;
    int32_t bytesThisCycle = 0;
    while (bytesThisCycle < kBytesPerTimerEvent) {
      NEXT(text_.file());
      if (ErrorCode() != 0) {
        done_ = true;
        break;
      }
      int32_t length = BYTES(text_.file());
      bytesThisCycle += length;
      bytesRead_ += length;
      std::copy_n(reinterpret_cast<const uint8_t*>(text_.record()), kTextLineLength, lines_.buffer);
      ADD(lines_);
    }
    ShowPercentage();
  }

  void ShowPercentage() {
    if (percentage_ >= 100) return;
    int64_t percent = std::min<int64_t>(int64_t{bytesRead_} * 100 / fileSize_, 100);
    percentage_ = static_cast<uint8_t>(percent);
    if (percentage_ == shown_) return;
    shown_ = percentage_;
    SetProperty(kPercentText, property::kText,
                FormatText(std::to_string(percentage_), "@N3") + "% Completed");
    DISPLAY();
  }

  QueueDescriptor& lines_;
  std::string fileName_;
  AsciiTextFile text_;
  int32_t fileSize_ = 0;
  int32_t bytesRead_ = 0;
  uint8_t percentage_ = 0;
  uint8_t shown_ = 0;
  bool done_ = false;
};

}  // namespace

void SPLASH() {
  DeclaredQueue lines(kLineFields, kTextLineLength);
  std::string fileName;  // blank until the first refresh loads the file
  Window splash;
  OpenWindow(splash, WindowKind::kPlain, kTag, "SPLASH$WINDOW", {&lines.queue()});
  bool openSeen = false;
  auto refresh = [&] {
    if (GetPropertyNumber(0, property::kValidating) != 0) return;
    if (fileName != kStartTextFile) {
      fileName = kStartTextFile;
      StartTextLoader(lines.queue(), fileName).Load();
    }
    DISPLAY();
  };
  for (AcceptLoop loop; loop.Next();) {
    switch (EVENT()) {
      case event::kOpenWindow:
        if (!openSeen) {
          openSeen = true;
          refresh();
        }
        break;
      case event::kGainFocus:
        refresh();
        break;
      case event::kAccepted:
        if (FIELD() == kContinueButton) POST(event::kCloseWindow);
        break;
      default:
        break;
    }
  }
  CloseWindow(splash);
}

}  // namespace rk
