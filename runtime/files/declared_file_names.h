// Makes a declared file's fields and memos known to expressions by their names
// ("HTA:TITLE", "HTA:NOTES"), on the running thread, so that a view's filter
// can read them from the record buffer. A memo reads as a text of its size.
#pragma once

namespace rk {

class DeclaredFile;

void BindFileNames(DeclaredFile& file);

}  // namespace rk
