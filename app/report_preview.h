// REPORTPREVIEW: shows the pages a report rendered, one at a time, two facing
// or one zoomed to the window, and lets the user page through them, jump to a
// page, and print or cancel. It answers through the response global: 1 print,
// 2 cancel.
#pragma once

#include "runtime/files/queue.h"

namespace rk {

// `pages` holds one 80-byte page-file name per rendered page.
void REPORTPREVIEW(QueueDescriptor& pages);

}  // namespace rk
