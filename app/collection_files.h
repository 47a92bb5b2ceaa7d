// The collection's six files as the procedures reach them. Each file is declared
// once, on first use, from its table in the data dictionary; the accessors hand
// out that one declaration: its descriptor (what OPEN, NEXT, PUT... take), its
// keys by label, its fields by name, its memo and its record buffer. The files
// are declared per thread, so every runtime thread that opens one works on its
// own instance of the descriptor, buffers and position.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/files/declared_file.h"

namespace rk {

// In the order of the data dictionary's tables.
enum class CollectionFileId : uint8_t { kHtapes, kItems, kVideos, kCast, kSubject, kManufacturer };
inline constexpr int kCollectionFileCount = 6;

DeclaredFile& CollectionFile(CollectionFileId which);
// The file whose fields and keys carry the prefix of the name ("HTA:TITLE",
// "ITE:SERIAL_NO"), or null for a name of no collection file.
DeclaredFile* CollectionFileOfName(std::string_view prefixedName);

// Clears the file's record buffer and its memos, as a new record starts.
void ClearRecordOf(DeclaredFile& file);
// The address of a collection file's field or memo by its prefixed name
// ("HTA:TITLE", "HTA:NOTES"), for binding a window or report to it; null for
// a name of no field or memo.
void* CollectionVariable(std::string_view prefixedName);

FileDescriptor& HTAPES();
FileDescriptor& ITEMS();
FileDescriptor& videos();
FileDescriptor& CAST();
FileDescriptor& SUBJECT();
FileDescriptor& MANUFACTURER();

}  // namespace rk
