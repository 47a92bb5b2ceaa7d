// Named bits of the flag and attribute words stored in definitions: the control
// flags (+5 of a control record), the window attributes (+0x4D of a window
// record) and the menu bar's flags. Definition sources may give these by name.
#pragma once

#include <cstdint>
#include <string_view>

namespace rk {

namespace control_flag {
// Kind-specific style bits live below 0x10000.
inline constexpr int32_t kVScroll = 0x0001;     // LIST
inline constexpr int32_t kHScroll = 0x0002;     // LIST
inline constexpr int32_t kCapitalise = 0x0004;  // ENTRY: every word typed begins with a capital
inline constexpr int32_t kSelectAll = 0x0008;   // ENTRY: gaining the focus selects the whole text
inline constexpr int32_t kWrap = 0x0010;        // report text: broken into lines at its width
inline constexpr int32_t kPageNumber = 0x0020;  // report STRING: its text, then the page number
inline constexpr int32_t kImm = 0x0800;         // LIST: scrolled by the procedure through events
// Common bits.
inline constexpr int32_t kHide = 0x10000;
inline constexpr int32_t kDisable = 0x20000;
inline constexpr int32_t kDefault = 0x40000;  // BUTTON
inline constexpr int32_t kSkip = 0x80000;     // not in the tab order
inline constexpr int32_t kReadOnly = 0x100000;
inline constexpr int32_t kRequired = 0x200000;
inline constexpr int32_t kTransparent = 0x400000;
inline constexpr int32_t kUpper = 0x800000;
inline constexpr int32_t kFull = 0x1000000;  // IMAGE stretched to the control
inline constexpr int32_t kLeft = 0x2000000;
inline constexpr int32_t kCenter = 0x4000000;
inline constexpr int32_t kRight = 0x8000000;
}  // namespace control_flag

namespace window_attribute {
inline constexpr int32_t kPrivatePalette = 0x02;  // set by the runtime
inline constexpr int32_t kMdiChild = 0x04;
inline constexpr int32_t kSplash = 0x08;
inline constexpr int32_t kFrameMask = 0x60;
inline constexpr int32_t kResizable = 0x20;
inline constexpr int32_t kDoubleFrame = 0x40;
inline constexpr int32_t kNoFrame = 0x60;
inline constexpr int32_t kNoCaption = 0x400;
inline constexpr int32_t kMaximizeBox = 0x800;
inline constexpr int32_t kSystemMenu = 0x1000;
inline constexpr int32_t kNotFrame = 0x2000;
inline constexpr int32_t kMaximized = 0x4000;
inline constexpr int32_t kMinimized = 0x8000;
}  // namespace window_attribute

namespace menubar_flag {
inline constexpr int32_t kKeepOwnMenu =
    0x1;  // an MDI child's menus are not merged into the frame's
}

struct NamedBit {
  std::string_view name;
  int32_t bit;
};

inline constexpr NamedBit kControlFlagNames[] = {
    {"VSCROLL", control_flag::kVScroll},   {"HSCROLL", control_flag::kHScroll},
    {"CAP", control_flag::kCapitalise},    {"SELECTALL", control_flag::kSelectAll},
    {"IMM", control_flag::kImm},           {"HIDE", control_flag::kHide},
    {"DISABLE", control_flag::kDisable},   {"DEFAULT", control_flag::kDefault},
    {"SKIP", control_flag::kSkip},         {"READONLY", control_flag::kReadOnly},
    {"REQUIRED", control_flag::kRequired}, {"TRANSPARENT", control_flag::kTransparent},
    {"UPPER", control_flag::kUpper},       {"FULL", control_flag::kFull},
    {"LEFT", control_flag::kLeft},         {"CENTER", control_flag::kCenter},
    {"RIGHT", control_flag::kRight},       {"WRAP", control_flag::kWrap},
    {"PAGENO", control_flag::kPageNumber},
};

inline constexpr NamedBit kWindowAttributeNames[] = {
    {"SYSMENU", window_attribute::kSystemMenu},  {"MAXBOX", window_attribute::kMaximizeBox},
    {"MAXIMIZED", window_attribute::kMaximized}, {"MINIMIZED", window_attribute::kMinimized},
    {"RESIZE", window_attribute::kResizable},    {"DOUBLE", window_attribute::kDoubleFrame},
    {"NOFRAME", window_attribute::kNoFrame},     {"NOCAPTION", window_attribute::kNoCaption},
    {"MDICHILD", window_attribute::kMdiChild},   {"SPLASH", window_attribute::kSplash},
    {"NOTFRAME", window_attribute::kNotFrame},
};

}  // namespace rk
