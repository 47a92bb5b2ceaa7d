#include "runtime/files/queue.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/field_compare.h"
#include "runtime/files/file_dispatcher.h"

namespace rk {
namespace {

// Change numbers of different queues start far apart, so that a list that
// remembers one queue's number never mistakes another queue (or the same queue
// after FREE) for unchanged.
uint32_t nextChangeStart = 0x1000;
constexpr uint32_t kChangeStartStep = 0x100000;

void PostQueueError(int32_t code) {
  PostFileError(code, nullptr, {});
}

// Clears an earlier error and makes the contents when the queue has none.
QueueContents& Begin(QueueDescriptor& queue) {
  ClearFileError();
  if (!queue.contents) {
    queue.contents = new QueueContents;
    queue.contents->changes = nextChangeStart;
    nextChangeStart += kChangeStartStep;
    if (queue.typeDescriptor)
      ParseFieldList({queue.typeDescriptor, queue.typeDescriptorLength}, queue.contents->fields);
  }
  return *queue.contents;
}

// Sets the sort order from a field list; 75 "Invalid Field Type Descriptor"
// at the first bad number, the components before it staying in place.
int32_t SetOrder(QueueContents& contents, QueueFields fields) {
  contents.order.clear();
  for (int32_t number : fields) {
    if (number == 0) break;
    SortComponent component{number < 0 ? -number : number, number < 0};
    if (component.field > static_cast<int32_t>(contents.fields.size()) ||
        contents.order.size() == kMaxSortComponents)
      return file_error::kInvalidDescriptor;
    contents.order.push_back(component);
  }
  return 0;
}

int CompareRecords(const QueueContents& contents, const uint8_t* a, const uint8_t* b) {
  for (const SortComponent& component : contents.order) {
    int order = CompareFieldValues(contents.fields[component.field - 1], a, b);
    if (order != 0) return component.descending ? -order : order;
  }
  return 0;
}

// The index after the last entry that compares equal to or lower than record.
size_t SortedPlace(const QueueContents& contents, const uint8_t* record) {
  auto place = std::upper_bound(contents.entries.begin(), contents.entries.end(), record,
                                [&](const uint8_t* probe, const std::unique_ptr<uint8_t[]>& entry) {
                                  return CompareRecords(contents, probe, entry.get()) < 0;
                                });
  return static_cast<size_t>(place - contents.entries.begin());
}

bool ValidPosition(const QueueContents& contents, int64_t position) {
  return position >= 1 && position <= static_cast<int64_t>(contents.entries.size());
}

void MarkPosition(QueueContents& contents, size_t index) {
  contents.currentIndex = index;
  contents.pointer = static_cast<int32_t>(index + 1);
}

// Inserts a copy of the buffer at index; 8 "Insufficient Memory" and nothing
// added when memory runs out.
int32_t InsertCopy(QueueDescriptor& queue, QueueContents& contents, size_t index) {
  std::unique_ptr<uint8_t[]> entry(new (std::nothrow) uint8_t[std::max(queue.recordLength, 1u)]);
  if (!entry) return file_error::kInsufficientMemory;
  std::memcpy(entry.get(), queue.buffer, queue.recordLength);
  try {
    contents.entries.insert(contents.entries.begin() + static_cast<ptrdiff_t>(index),
                            std::move(entry));
  } catch (const std::bad_alloc&) {
    return file_error::kInsufficientMemory;
  }
  MarkPosition(contents, index);
  ++contents.changes;
  return 0;
}

void Finish(int32_t error) {
  if (error != 0) PostQueueError(error);
}

}  // namespace

void ADD(QueueDescriptor& queue) {
  QueueContents& contents = Begin(queue);
  size_t index =
      contents.order.empty() ? contents.entries.size() : SortedPlace(contents, queue.buffer);
  Finish(InsertCopy(queue, contents, index));
}

void ADD(QueueDescriptor& queue, int32_t position) {
  QueueContents& contents = Begin(queue);
  size_t index = ValidPosition(contents, position) ? static_cast<size_t>(position - 1)
                                                   : contents.entries.size();
  Finish(InsertCopy(queue, contents, index));
}

void ADD(QueueDescriptor& queue, QueueFields fields) {
  QueueContents& contents = Begin(queue);
  int32_t error = SetOrder(contents, fields);
  if (error == 0) error = InsertCopy(queue, contents, SortedPlace(contents, queue.buffer));
  contents.order.clear();
  Finish(error);
}

void ADD(QueueDescriptor& queue, std::initializer_list<int32_t> fields) {
  ADD(queue, QueueFields(fields.begin(), fields.size()));
}

void GET(QueueDescriptor& queue, int32_t position) {
  QueueContents& contents = Begin(queue);
  if (!ValidPosition(contents, position)) return Finish(file_error::kEntryNotFound);
  size_t index = static_cast<size_t>(position - 1);
  std::memcpy(queue.buffer, contents.entries[index].get(), queue.recordLength);
  MarkPosition(contents, index);
}

void GET(QueueDescriptor& queue, QueueFields fields) {
  QueueContents& contents = Begin(queue);
  int32_t error = SetOrder(contents, fields);
  if (error == 0) {
    // The first entry that does not compare below the buffer, if it is equal.
    auto found =
        std::lower_bound(contents.entries.begin(), contents.entries.end(), queue.buffer,
                         [&](const std::unique_ptr<uint8_t[]>& entry, const uint8_t* probe) {
                           return CompareRecords(contents, entry.get(), probe) < 0;
                         });
    if (found == contents.entries.end() ||
        CompareRecords(contents, found->get(), queue.buffer) != 0) {
      error = file_error::kEntryNotFound;
    } else {
      std::memcpy(queue.buffer, found->get(), queue.recordLength);
      MarkPosition(contents, static_cast<size_t>(found - contents.entries.begin()));
    }
  }
  contents.order.clear();
  Finish(error);
}

void GET(QueueDescriptor& queue, std::initializer_list<int32_t> fields) {
  GET(queue, QueueFields(fields.begin(), fields.size()));
}

void PUT(QueueDescriptor& queue) {
  QueueContents& contents = Begin(queue);
  if (!ValidPosition(contents, contents.pointer)) return Finish(file_error::kEntryNotFound);
  size_t index = static_cast<size_t>(contents.pointer - 1);
  std::memcpy(contents.entries[index].get(), queue.buffer, queue.recordLength);
  if (!contents.order.empty()) {
    // Take the entry out and put it back at its sorted place.
    std::unique_ptr<uint8_t[]> entry = std::move(contents.entries[index]);
    contents.entries.erase(contents.entries.begin() + static_cast<ptrdiff_t>(index));
    index = SortedPlace(contents, entry.get());
    contents.entries.insert(contents.entries.begin() + static_cast<ptrdiff_t>(index),
                            std::move(entry));
  }
  MarkPosition(contents, index);
  ++contents.changes;
}

void DELETE(QueueDescriptor& queue) {
  QueueContents& contents = Begin(queue);
  if (!ValidPosition(contents, contents.pointer)) return Finish(file_error::kEntryNotFound);
  size_t index = static_cast<size_t>(contents.pointer - 1);
  contents.entries.erase(contents.entries.begin() + static_cast<ptrdiff_t>(index));
  contents.currentIndex = index;
  ++contents.changes;
}

void SORT(QueueDescriptor& queue, QueueFields fields) {
  QueueContents& contents = Begin(queue);
  if (int32_t error = SetOrder(contents, fields); error != 0) return Finish(error);
  // A merge sort: equal entries keep their order.
  std::stable_sort(contents.entries.begin(), contents.entries.end(),
                   [&](const std::unique_ptr<uint8_t[]>& a, const std::unique_ptr<uint8_t[]>& b) {
                     return CompareRecords(contents, a.get(), b.get()) < 0;
                   });
  ++contents.changes;
}

void SORT(QueueDescriptor& queue, std::initializer_list<int32_t> fields) {
  SORT(queue, QueueFields(fields.begin(), fields.size()));
}

void FREE(QueueDescriptor& queue) {
  ClearFileError();
  delete queue.contents;
  queue.contents = nullptr;
}

int32_t RECORDS(QueueDescriptor& queue) {
  return static_cast<int32_t>(Begin(queue).entries.size());
}

int32_t POINTER(QueueDescriptor& queue) {
  return Begin(queue).pointer;
}
uint32_t CHANGES(QueueDescriptor& queue) {
  return Begin(queue).changes;
}

DeclaredQueue::DeclaredQueue(std::span<const FieldSpec> fields, uint32_t recordLength)
    : typeDescriptor_(EncodeFieldList(fields)), buffer_(std::max(recordLength, 1u), 0) {
  queue_.buffer = buffer_.data();
  queue_.typeDescriptor = typeDescriptor_.data();
  queue_.typeDescriptorLength = static_cast<uint32_t>(typeDescriptor_.size());
  queue_.recordLength = recordLength;
}

DeclaredQueue::~DeclaredQueue() {
  delete queue_.contents;
}

}  // namespace rk
