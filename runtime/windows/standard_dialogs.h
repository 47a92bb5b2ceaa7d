// The file dialog and the printer dialog as runtime operations. The calling
// thread gives up the runtime lock while the dialog is open, so other threads'
// windows keep working, and takes it back with the answer.
#pragma once

#include <QStringList>
#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

inline constexpr int32_t kFileDialogSave = 0x1;             // else the open dialog
inline constexpr int32_t kFileDialogChangeDirectory = 0x2;  // the chosen folder becomes current
inline constexpr size_t kFileNameLimit = 255;
inline constexpr std::string_view kAllFilesFilter = "All Files (*.*)|*.*";

// The filter text, pairs of description and pattern separated by "|", as the
// display's name filters. "*.*" stands for every file, dotted or not; several
// patterns are separated by ";". An empty text gives the all-files filter.
QStringList NameFiltersOf(std::string_view filter);

// Non-zero when the user confirmed; the chosen path is then stored in fileName.
// Cancelling, or a path longer than kFileNameLimit, returns 0 and leaves the name
// as it was. Outside of a runtime thread nothing is shown and 0 is returned.
int32_t FILEDIALOG(std::string_view title, std::string& fileName, std::string_view filter = {},
                   int32_t flags = 0);

// The print dialog on the shared printer settings, or its setup variant. Non-zero
// when the user confirmed.
int32_t PRINTERDIALOG(std::string_view title = {}, bool setup = false);

}  // namespace rk
