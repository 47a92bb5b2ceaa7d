// The statements a report procedure calls: OPEN from a stored definition with the
// procedure's variables, PRINT, ENDPAGE, CLOSE, the report's properties, and the
// refusals for what only windows or only reports accept: an event posted to a
// report control (522), PRINT and ENDPAGE of a window (538, 539).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/reports/report.h"

namespace rk {

class Window;

namespace report_property {
inline constexpr int32_t kText = 0x7C00;          // a control's text or an IMAGE's file name
inline constexpr int32_t kPreviewQueue = 0x7C53;  // the queue of page names (an address)
inline constexpr int32_t kFlushPreview = 0x7C54;  // non-zero prints the previewed pages
// Printer properties of a report.
inline constexpr int32_t kPrinterDevice = 0x7B01;  // "" default, a number, or a name
inline constexpr int32_t kPrinterPort = 0x7B02;
inline constexpr int32_t kPrintToFile = 0x7B03;  // 0 or 1
inline constexpr int32_t kOutputFile = 0x7B04;
inline constexpr int32_t kPaperSize = 0x7B05;    // device-mode paper number
inline constexpr int32_t kPaperLength = 0x7B06;  // tenths of a millimetre
inline constexpr int32_t kPaperWidth = 0x7B07;
inline constexpr int32_t kOrientation = 0x7B08;  // 1 portrait, 2 landscape
inline constexpr int32_t kCopies = 0x7B09;
}  // namespace report_property

// Loads the report labelled `label` under `tag`, binds the variables
// (zero-terminated list) and opens it. 525 when `report` is open already.
void OPEN(Report& report, std::string_view tag, std::string_view label, void* const* addresses);
void PRINT(Report& report, int32_t detail);
void ENDPAGE(Report& report);
void CLOSE(Report& report);

[[noreturn]] void PRINT(Window& window, int32_t band);
[[noreturn]] void ENDPAGE(Window& window);
// Reports receive no events.
[[noreturn]] void POST(Report& report, int32_t event, int32_t control);

// Control 0 names the report itself. Printer selection by device: an empty
// value takes the default printer, a number the n-th installed printer, any
// other text the printer of that name; a printer that is not installed changes
// nothing.
void SetProperty(Report& report, int32_t control, int32_t code, std::string_view value);
void SetPreviewQueue(Report& report, QueueDescriptor* queue);
std::string GetProperty(Report& report, int32_t control, int32_t code);

}  // namespace rk
