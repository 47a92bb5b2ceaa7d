#include "runtime/files/view.h"

#include <numeric>

#include "runtime/files/view_engine.h"
#include "runtime/files/view_filter.h"
#include "runtime/files/view_state.h"

namespace rk {
namespace {

std::vector<int32_t> AllMemos(const FileDescriptor* file) {
  std::vector<int32_t> memos(file ? file->memoCount : 0);
  std::iota(memos.begin(), memos.end(), 1);
  return memos;
}

}  // namespace

ViewFileSpec PrimaryFile(FileDescriptor& file) {
  ViewFileSpec spec;
  spec.file = &file;
  spec.memos = AllMemos(&file);
  return spec;
}

ViewFileSpec JoinedFile(KeyDescriptor& key, std::vector<int32_t> parentFields, int parent) {
  ViewFileSpec spec;
  spec.file = key.file;
  spec.joinKey = &key;
  spec.parent = parent;
  spec.parentFields = std::move(parentFields);
  spec.memos = AllMemos(key.file);
  return spec;
}

View::View(std::vector<ViewFileSpec> files) : files_(std::move(files)) {
  entry = &ViewEntry;
}

View::~View() {
  ReleaseViewState(*this);
}

void View::setFilter(std::unique_ptr<ViewFilter> filter) {
  filter_ = std::move(filter);
}

}  // namespace rk
