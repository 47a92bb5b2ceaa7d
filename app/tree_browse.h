// One tree browse while it runs: the root, one entry per parent record, and
// the children of the parents the user has expanded, all in one queue shown by
// the list. The tree is built again from the files after every insert, change
// and delete; the set of expanded parents survives those rebuilds.
//
// Building and the entries are in tree_build.cpp; the event loop, the buttons
// and the calls to the update procedures are in tree_procedure.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "app/tree_spec.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/queue.h"

namespace rk {

// Runs the tree of the row on the calling thread and returns when its window
// has closed.
void RunTree(const TreeSpec& spec);

// One line of the tree as the queue holds it.
struct TreeEntry {
  std::string text;
  TreeColours colours{-1, -1, -1, -1};
  int16_t icon = 0;
  int32_t level = 0;    // 0 root; 1 parent with hidden children, -1 otherwise; 2 child
  bool loaded = false;  // a parent whose children follow it
  std::string position;
};

class TreeBrowse {
 public:
  explicit TreeBrowse(const TreeSpec& spec);
  ~TreeBrowse();
  TreeBrowse(const TreeBrowse&) = delete;
  TreeBrowse& operator=(const TreeBrowse&) = delete;

  void Run();

 private:
  enum class Kind { kRoot, kParent, kChild };

  // --- tree_procedure.cpp ---
  void OpenFiles();
  void CloseFiles();
  void HandleEvent();
  void HandleButton(int32_t control);
  void ShowPopup();
  void Insert();
  void Change();
  void Delete();
  // Calls the procedure with the request; true when it completed.
  bool CallUpdate(const char* procedure, int32_t request);
  int32_t Selected();

  // --- tree_build.cpp ---
  void Build();
  void Expand(int32_t row);
  void Contract(int32_t row);
  // Appends the children of the parent in the parent's buffer after `row`;
  // returns how many there were.
  int32_t LoadChildren(int32_t row);
  // One read: does the first child record at the parent's serial belong to it?
  bool HasChildren();
  void StartChildren();
  bool ReadFailed();
  TreeEntry ParentEntry(int32_t level);
  void Reselect();
  Kind KindOf(const TreeEntry& entry) const;
  // The parent entry of the row: itself, or the nearest parent above a child.
  int32_t ParentRow(int32_t row);
  // Reads the entry's record again by its position into its file's buffer.
  void Reread(const TreeEntry& entry, bool watch = false);

  int32_t Records();
  TreeEntry EntryAt(int32_t row);
  void Store(const TreeEntry& entry);  // into the queue's buffer
  void Add(const TreeEntry& entry, int32_t at = 0);
  void Put(int32_t row, const TreeEntry& entry);

  const TreeSpec& spec_;
  DeclaredFile& parent_;
  DeclaredFile& child_;
  std::unique_ptr<DeclaredQueue> rows_;
  std::set<std::string> expanded_;  // positions of the expanded parents
  bool reselect_ = false;
  // Positions of two files may hold the same bytes: each names its kind too.
  struct Place {
    Kind kind = Kind::kRoot;
    std::string position;
  };
  Place reselectAt_;
  Place reselectOr_;  // the second choice, when reselectAt_ is not shown
  bool closing_ = false;
  bool opened_ = false;
  int32_t localResponse_ = 2;
};

}  // namespace rk
