// A view: a read-mostly walk over a primary file and the files joined to it
// through their keys, restricted by a filter expression given as text. The view
// object begins with the view engine's entry function where a file descriptor
// carries its driver's, so the ordinary file statements apply to it (NEXT(view),
// POSITION(view), ...); the engine is in view_engine.h.
//
// The declaration names, per level, the file, the key through which a joined
// file is reached, the parent level and parent fields that feed that key's
// leading components, and the fields and memos the view uses. Level 0 is the
// primary file; it is read in the order of the key that the primary file was
// last SET to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/files/file_descriptor.h"

namespace rk {

class ViewFilter;

// The property that holds a view's filter text (code 71 sets it, 72 reads it).
inline constexpr int32_t kPropFilter = 0x7CB8;

struct ViewFileSpec {
  FileDescriptor* file = nullptr;     // the primary file; for a joined level the key's file
  KeyDescriptor* joinKey = nullptr;   // none for the primary file
  int parent = 0;                     // the level whose record feeds the join key
  std::vector<int32_t> parentFields;  // parent field numbers, one per leading key component
  std::vector<int32_t> fields;        // field numbers the view uses
  std::vector<int32_t> memos;         // memo numbers the view uses; none: read with NOMEMO
};

// The primary file, reading every memo it has.
ViewFileSpec PrimaryFile(FileDescriptor& file);
// A file joined through `key` to `parent`: the key's leading components must
// equal the parent fields, in order. It reads every memo it has.
ViewFileSpec JoinedFile(KeyDescriptor& key, std::vector<int32_t> parentFields, int parent = 0);

class View : public FileObject {
 public:
  explicit View(std::vector<ViewFileSpec> files);
  ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  size_t levelCount() const { return files_.size(); }
  const ViewFileSpec& level(size_t index) const { return files_[index]; }
  FileDescriptor& primary() const { return *files_.front().file; }

  // The compiled filter, or none.
  const ViewFilter* filter() const { return filter_.get(); }
  void setFilter(std::unique_ptr<ViewFilter> filter);

 private:
  std::vector<ViewFileSpec> files_;
  std::unique_ptr<ViewFilter> filter_;
};

}  // namespace rk
