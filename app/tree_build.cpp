// Building the tree: every parent record is read once, in the order of the
// parent's key, and each costs one more read of the child file to decide
// whether it has children; children are read only for expanded parents.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/record_position.h"
#include "app/standard_messages.h"
#include "app/tree_browse.h"
#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/wait_cursor.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

constexpr int32_t kList = 1;

// The queue's entry: text, four colours, icon, level, children-loaded flag and
// the record's position.
constexpr uint32_t kTextSize = 200;
constexpr uint32_t kColoursAt = 200;
constexpr uint32_t kIconAt = 216;
constexpr uint32_t kLevelAt = 218;
constexpr uint32_t kLoadedAt = 222;
constexpr uint32_t kPositionAt = 224;
constexpr uint32_t kEntrySize = kPositionAt + kPositionSize;

constexpr FieldSpec kEntryFields[] = {
    {"TEXT", 0, kString, kTextSize},
    {"TEXT_COLOUR", kColoursAt, kLong},
    {"BACKGROUND", kColoursAt + 4, kLong},
    {"SELECTED_TEXT", kColoursAt + 8, kLong},
    {"SELECTED_BACKGROUND", kColoursAt + 12, kLong},
    {"ICON", kIconAt, kShort},
    {"LEVEL", kLevelAt, kLong},
    {"LOADED", kLoadedAt, kShort},
    {"POSITION", kPositionAt, kString, kPositionSize},
};

// A text field of the entry: the text, cut or space padded to its size.
void PutPadded(uint8_t* field, std::string_view text, size_t size) {
  std::memset(field, ' ', size);
  std::memcpy(field, text.data(), std::min(text.size(), size));
}

}  // namespace

TreeBrowse::TreeBrowse(const TreeSpec& spec)
    : spec_(spec),
      parent_(CollectionFile(spec.parent.file)),
      child_(CollectionFile(spec.child.file)),
      rows_(std::make_unique<DeclaredQueue>(kEntryFields, kEntrySize)) {}

TreeBrowse::~TreeBrowse() = default;

int32_t TreeBrowse::Records() {
  return RECORDS(rows_->queue());
}

TreeEntry TreeBrowse::EntryAt(int32_t row) {
  GET(rows_->queue(), row);
  const uint8_t* at = rows_->buffer();
  TreeEntry entry;
  entry.text.assign(reinterpret_cast<const char*>(at), kTextSize);
  std::memcpy(&entry.colours, at + kColoursAt, sizeof entry.colours);
  std::memcpy(&entry.icon, at + kIconAt, sizeof entry.icon);
  std::memcpy(&entry.level, at + kLevelAt, sizeof entry.level);
  int16_t loaded = 0;
  std::memcpy(&loaded, at + kLoadedAt, sizeof loaded);
  entry.loaded = loaded != 0;
  entry.position.assign(reinterpret_cast<const char*>(at + kPositionAt), kPositionSize);
  return entry;
}

void TreeBrowse::Store(const TreeEntry& entry) {
  uint8_t* at = rows_->buffer();
  PutPadded(at, entry.text, kTextSize);
  std::memcpy(at + kColoursAt, &entry.colours, sizeof entry.colours);
  std::memcpy(at + kIconAt, &entry.icon, sizeof entry.icon);
  std::memcpy(at + kLevelAt, &entry.level, sizeof entry.level);
  int16_t loaded = entry.loaded ? 1 : 0;
  std::memcpy(at + kLoadedAt, &loaded, sizeof loaded);
  PutPadded(at + kPositionAt, entry.position, kPositionSize);
}

// `at` 0 appends.
void TreeBrowse::Add(const TreeEntry& entry, int32_t at) {
  Store(entry);
  at == 0 ? ADD(rows_->queue()) : ADD(rows_->queue(), at);
}

void TreeBrowse::Put(int32_t row, const TreeEntry& entry) {
  GET(rows_->queue(), row);
  Store(entry);
  PUT(rows_->queue());
}

TreeBrowse::Kind TreeBrowse::KindOf(const TreeEntry& entry) const {
  int32_t level = std::abs(entry.level);
  return level == 0 ? Kind::kRoot : level == 1 ? Kind::kParent : Kind::kChild;
}

int32_t TreeBrowse::ParentRow(int32_t row) {
  while (row > 1 && KindOf(EntryAt(row)) == Kind::kChild) --row;
  return row;
}

void TreeBrowse::Reread(const TreeEntry& entry, bool watch) {
  DeclaredFile& file = KindOf(entry) == Kind::kChild ? child_ : parent_;
  const char* key = KindOf(entry) == Kind::kChild ? spec_.child.key : spec_.parent.key;
  if (watch) WATCH(file.file());
  REGET(*file.key(key), entry.position);
}

// The entry of the parent now in the buffer; its position is where its key
// read it.
TreeEntry TreeBrowse::ParentEntry(int32_t level) {
  TreeEntry entry;
  entry.text = spec_.parent.text(parent_);
  entry.colours = spec_.parent.colours;
  entry.icon = spec_.parent.icon;
  entry.level = level;
  entry.position = PaddedPosition(POSITION(*parent_.key(spec_.parent.key)));
  return entry;
}

// Any error but the end of a file is shown once with the child file's label,
// and the window closes.
bool TreeBrowse::ReadFailed() {
  if (ErrorCode() == 0 || ErrorCode() == file_error::kRecordNotAvailable) return false;
  if (!closing_) {
    closing_ = true;
    SHOWMESSAGE(35, child_.label());
    POST(event::kCloseWindow);
  }
  return true;
}

void TreeBrowse::Build() {
  WaitCursor wait;
  FREE(rows_->queue());
  TreeEntry root;
  root.text = spec_.rootText;
  root.icon = spec_.rootIcon;
  root.position = spec_.rootMark;
  Add(root);
  KeyDescriptor& key = *parent_.key(spec_.parent.key);
  SET(key);
  for (NEXT(parent_.file()); ErrorCode() != file_error::kRecordNotAvailable; NEXT(parent_.file())) {
    if (ReadFailed()) return;
    std::string position = PaddedPosition(POSITION(key));
    if (expanded_.contains(position)) {
      TreeEntry entry = ParentEntry(-1);
      entry.loaded = true;
      Add(entry);
      LoadChildren(Records());
    } else {
      bool children = HasChildren();
      if (closing_) return;
      Add(ParentEntry(children ? 1 : -1));
    }
    if (closing_) return;
  }
  ClearError();
  Reselect();
}

// The child key starts at the first record whose link holds the parent's
// serial number.
void TreeBrowse::StartChildren() {
  ClearRecordOf(child_);
  child_.setText(spec_.childLink, parent_.text(spec_.parentSerial));
  KeyDescriptor& key = *child_.key(spec_.child.key);
  SET(key, key);
}

bool TreeBrowse::HasChildren() {
  StartChildren();
  NEXT(child_.file());
  if (ErrorCode() == file_error::kRecordNotAvailable) return false;
  if (ReadFailed()) return false;
  return ClipRight(child_.text(spec_.childLink)) == ClipRight(parent_.text(spec_.parentSerial));
}

int32_t TreeBrowse::LoadChildren(int32_t row) {
  std::string serial(ClipRight(parent_.text(spec_.parentSerial)));
  KeyDescriptor& key = *child_.key(spec_.child.key);
  StartChildren();
  int32_t count = 0;
  for (NEXT(child_.file()); ErrorCode() == 0; NEXT(child_.file())) {
    if (ClipRight(child_.text(spec_.childLink)) != serial) break;
    TreeEntry entry;
    entry.text = spec_.child.text(child_);
    entry.colours = spec_.child.colours;
    entry.icon = spec_.child.icon;
    entry.level = 2;
    entry.position = POSITION(key);
    Add(entry, row + ++count);
  }
  if (ReadFailed()) return count;
  ClearError();
  return count;
}

void TreeBrowse::Expand(int32_t row) {
  if (row < 1 || row > Records()) return;
  TreeEntry entry = EntryAt(row);
  if (KindOf(entry) != Kind::kParent || entry.loaded) return;
  Reread(entry);
  if (ReadFailed()) return;
  TreeEntry expanded = ParentEntry(-1);
  expanded.loaded = true;
  expanded.position = entry.position;
  Put(row, expanded);
  expanded_.insert(entry.position);
  LoadChildren(row);
}

void TreeBrowse::Contract(int32_t row) {
  if (row < 1 || row > Records()) return;
  TreeEntry entry = EntryAt(row);
  if (KindOf(entry) != Kind::kParent || !entry.loaded) return;
  expanded_.erase(entry.position);
  Reread(entry);
  if (ReadFailed()) return;
  int32_t removed = 0;
  while (row < Records() && std::abs(EntryAt(row + 1).level) > std::abs(entry.level)) {
    DELETE(rows_->queue());
    ++removed;
  }
  TreeEntry contracted = ParentEntry(removed > 0 ? 1 : -1);
  contracted.position = entry.position;
  Put(row, contracted);
}

// After an insert or a change, the entry of the record the form stored; when
// there is none, the second choice: the parent of a child inserted under a
// closed parent, or the changed record's own entry.
void TreeBrowse::Reselect() {
  if (!reselect_) return;
  reselect_ = false;
  int32_t found = 0;
  int32_t fallback = 0;
  for (int32_t row = 1; row <= Records() && found == 0; ++row) {
    TreeEntry entry = EntryAt(row);
    Kind kind = KindOf(entry);
    if (kind == reselectAt_.kind && entry.position == reselectAt_.position) found = row;
    if (kind == reselectOr_.kind && entry.position == reselectOr_.position) fallback = row;
  }
  int32_t row = found != 0 ? found : fallback;
  if (row != 0) SetProperty(kList, property::kListSelection, row);
}

}  // namespace rk
