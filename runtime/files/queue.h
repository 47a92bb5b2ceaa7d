// Queues: in-memory lists of records of one declared layout, read and written
// through the queue's record buffer by position or by the values of chosen
// fields, and kept sorted on up to 16 components. List boxes, drop lists, the
// browses' pages and a report's rendered pages are queues. Every operation first
// clears the error state; failures are posted there as for files (30 "Entry Not
// Found", 75 "Invalid Field Type Descriptor" for a bad field number, 8 "Insufficient
// Memory" when memory runs out).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "runtime/files/field_list.h"

namespace rk {

inline constexpr int kMaxSortComponents = 16;

struct SortComponent {
  int32_t field = 0;  // from 1
  bool descending = false;
};

// Created on first use, released by FREE.
struct QueueContents {
  std::vector<std::unique_ptr<uint8_t[]>> entries;  // each a copy of a whole record
  size_t currentIndex = 0;  // 0-based index of the last positioned operation
  int32_t pointer = 0;      // 1-based position of the entry last read, added or written
  std::vector<SortComponent> order;
  uint32_t changes = 0;
  std::vector<FieldInfo> fields;  // the record's fields, numbered from 1
};

struct QueueDescriptor {
  uint8_t* buffer = nullptr;
  // The record's type descriptor (a GROUP) and its length in bytes.
  const uint8_t* typeDescriptor = nullptr;
  uint32_t typeDescriptorLength = 0;
  QueueContents* contents = nullptr;
  uint32_t recordLength = 0;
};

// A field list: field numbers from 1, negative for descending.
using QueueFields = std::span<const int32_t>;

void ADD(QueueDescriptor& queue);
void ADD(QueueDescriptor& queue, int32_t position);
void ADD(QueueDescriptor& queue, QueueFields fields);
void ADD(QueueDescriptor& queue, std::initializer_list<int32_t> fields);
void GET(QueueDescriptor& queue, int32_t position);
void GET(QueueDescriptor& queue, QueueFields fields);
void GET(QueueDescriptor& queue, std::initializer_list<int32_t> fields);
void PUT(QueueDescriptor& queue);
void DELETE(QueueDescriptor& queue);
void SORT(QueueDescriptor& queue, QueueFields fields);
void SORT(QueueDescriptor& queue, std::initializer_list<int32_t> fields);
void FREE(QueueDescriptor& queue);
int32_t RECORDS(QueueDescriptor& queue);
int32_t POINTER(QueueDescriptor& queue);
uint32_t CHANGES(QueueDescriptor& queue);

// A queue with its own record buffer and type descriptor; frees its contents
// when it goes away.
class DeclaredQueue {
 public:
  explicit DeclaredQueue(std::span<const FieldSpec> fields, uint32_t recordLength);
  DeclaredQueue(const DeclaredQueue&) = delete;
  DeclaredQueue& operator=(const DeclaredQueue&) = delete;
  ~DeclaredQueue();

  QueueDescriptor& queue() { return queue_; }
  uint8_t* buffer() { return buffer_.data(); }

 private:
  std::vector<uint8_t> typeDescriptor_;
  std::vector<uint8_t> buffer_;
  QueueDescriptor queue_;
};

}  // namespace rk
