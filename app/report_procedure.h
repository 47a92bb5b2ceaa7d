// One report procedure while it runs: a small progress window reads the file in
// batches on its timer and hands each record to the report, which renders the
// pages into page files; at the end the pages are shown in the preview and
// printed when the user asks for it there. The row (report_spec.h) says which
// report, file, order and bands.
#pragma once

#include <functional>

#include "app/report_spec.h"
#include "runtime/files/queue.h"

namespace rk {

// Runs the report of the row on the calling thread.
void RunReport(const ReportSpec& spec);

// The preview a finished run hands its pages to; it answers through the
// response global (1: print). REPORTPREVIEW unless replaced; an empty call
// puts REPORTPREVIEW back.
using ReportPreviewCall = std::function<void(QueueDescriptor& pages)>;
void SetReportPreviewCall(ReportPreviewCall call);

// Asked when the preview answers "print": true prints on the printer (or into
// the file) the print dialog chose, false goes back to the preview with the
// same pages. The print dialog unless replaced; an empty call puts it back.
using ReportPrintDialogCall = std::function<bool()>;
void SetReportPrintDialogCall(ReportPrintDialogCall call);

}  // namespace rk
