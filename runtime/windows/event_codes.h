// The event codes that the ACCEPT loop delivers. Codes below 0x100 are control
// events, 0x101 is the selection of a control, codes from 0x200 are window events.
#pragma once

#include <cstdint>

namespace rk::event {

inline constexpr int32_t kAccepted = 0x01;
inline constexpr int32_t kNewSelection = 0x02;
inline constexpr int32_t kScrollUp = 0x03;
inline constexpr int32_t kScrollDown = 0x04;
inline constexpr int32_t kPageUp = 0x05;
inline constexpr int32_t kPageDown = 0x06;
inline constexpr int32_t kScrollTop = 0x07;
inline constexpr int32_t kScrollBottom = 0x08;
inline constexpr int32_t kLocate = 0x09;
inline constexpr int32_t kMouseDown = 0x0A;
inline constexpr int32_t kMouseUp = 0x0B;
inline constexpr int32_t kMouseIn = 0x0C;
inline constexpr int32_t kMouseOut = 0x0D;
inline constexpr int32_t kAlertKey = 0x0F;
inline constexpr int32_t kNotify = 0x10;
inline constexpr int32_t kDrag = 0x11;
inline constexpr int32_t kDrop = 0x12;
inline constexpr int32_t kDroppedFiles = 0x13;
inline constexpr int32_t kScrollDrag = 0x14;
inline constexpr int32_t kTabChanging = 0x15;
inline constexpr int32_t kExpanding = 0x16;
inline constexpr int32_t kContracting = 0x17;
inline constexpr int32_t kExpanded = 0x18;
inline constexpr int32_t kContracted = 0x19;
inline constexpr int32_t kChangedAndLeft = 0x1A;
inline constexpr int32_t kDropList = 0x1B;
inline constexpr int32_t kSelected = 0x101;

inline constexpr int32_t kCloseWindow = 0x201;
inline constexpr int32_t kCloseDown = 0x202;
inline constexpr int32_t kOpenWindow = 0x203;
inline constexpr int32_t kAlways = 0x204;
inline constexpr int32_t kLoseFocus = 0x205;
inline constexpr int32_t kGainFocus = 0x206;
inline constexpr int32_t kSuspend = 0x208;
inline constexpr int32_t kResume = 0x209;
inline constexpr int32_t kTimer = 0x20B;
inline constexpr int32_t kExchangeFirst = 0x20F;
inline constexpr int32_t kExchangeLast = 0x210;
inline constexpr int32_t kSystemCommand = 0x220;
inline constexpr int32_t kCompleted = 0x225;
inline constexpr int32_t kMoved = 0x230;
inline constexpr int32_t kSized = 0x231;
inline constexpr int32_t kRestored = 0x232;
inline constexpr int32_t kMaximized = 0x233;
inline constexpr int32_t kIconized = 0x234;

inline constexpr int32_t kFirstWindowEvent = 0x200;

inline constexpr bool IsWindowEvent(int32_t code) {
  return code >= kFirstWindowEvent;
}

}  // namespace rk::event
