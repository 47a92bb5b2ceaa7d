// The table that describes one tree browse: a parent file and its children
// shown as a two-level tree in one list box. Both trees of the collection run
// the same code (tree_browse.h); what differs between them is a row of this
// table: the window, the files and keys, the texts, colours and icons of the
// entries, and the update procedures called for each kind of entry.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/collection_files.h"
#include "runtime/files/declared_file.h"

namespace rk {

// Colours in blue-green-red order from the high byte down; -1 is the list's
// default. The order of the four matches the list's colour fields.
struct TreeColours {
  int32_t text;
  int32_t background;
  int32_t selectedText;
  int32_t selectedBackground;
};

// How one level of the tree looks and which update procedure changes it.
struct TreeLevel {
  CollectionFileId file;
  const char* key;  // the order the entries are read in
  TreeColours colours;
  int16_t icon;        // a number into the list's icon list
  const char* update;  // the update procedure
  // The entry's text from the record in the file's buffer.
  std::string (*text)(DeclaredFile& file);
};

struct TreeSpec {
  const char* procedure;  // "TREEBROWSEHOME"
  const char* tag;        // the window definition
  const char* label;      // "TREEBROWSEHOME$QUICKWINDOW"
  const char* rootText;   // "COMPILATION"
  int16_t rootIcon;
  const char* rootMark;  // what the root entry holds in place of a position
  TreeLevel parent;
  TreeLevel child;
  // The parent's serial number and the child's field that links it there.
  const char* parentSerial;  // "HTA:SERIAL"
  const char* childLink;     // "ITE:SERIAL"
};

// The list's icon list, numbered from 1.
std::span<const char* const> TreeIcons();

// The two trees.
std::span<const TreeSpec> TreeSpecs();

}  // namespace rk
