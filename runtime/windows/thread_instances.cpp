#include "runtime/windows/thread_instances.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/clear_value.h"
#include "runtime/core/halt.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/core/type_descriptor.h"

namespace rk {
namespace {

constexpr const char* kInstanceContext = "WSLINST";

}  // namespace

InstanceRegistry::InstanceRegistry() {
  begun_.set(0);
}

void InstanceRegistry::Register(void* address, size_t size, uint32_t flags,
                                std::span<const uint8_t> descriptor) {
  if (Registered(address)) return;
  Entry entry{static_cast<uint8_t*>(address), size, flags, {}, {}, {}};
  if (flags & kInstanceDescriptor) entry.descriptor.assign(descriptor.begin(), descriptor.end());
  if ((flags & (kInstanceDescriptor | kInstanceZeroFilled)) == 0) {
    entry.snapshot.assign(entry.address, entry.address + size);
  }
  entries_.push_back(std::move(entry));
}

void InstanceRegistry::Unregister(const void* address) {
  std::erase_if(entries_, [address](const Entry& entry) { return entry.address == address; });
}

bool InstanceRegistry::Registered(const void* address) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [address](const Entry& entry) { return entry.address == address; });
}

InstanceRegistry::Bytes InstanceRegistry::FreshCopy(const Entry& entry) const {
  if (entry.flags & kInstanceDescriptor) {
    // A descriptor that is malformed or describes more than the variable holds
    // would clear past the copy: such a copy stays zero-filled instead.
    Bytes copy(entry.size, 0);
    uint64_t described = DescriptorSize(entry.descriptor);
    if (described > 0 && described <= entry.size) {
      ClearValue(copy.data(), entry.descriptor, kClearBlank);
    }
    return copy;
  }
  if (entry.flags & kInstanceZeroFilled) return Bytes(entry.size, 0);
  return entry.snapshot;
}

void InstanceRegistry::BeginThread(int slot) {
  for (Entry& entry : entries_) {
    std::optional<Bytes>& copy = entry.copies.at(static_cast<size_t>(slot));
    if (copy) RuntimeError(runtime_error_code::kInternalError03, kInstanceContext);
    copy = FreshCopy(entry);
  }
  begun_.set(static_cast<size_t>(slot));
}

void InstanceRegistry::SwitchTo(int slot) {
  if (slot == inPlace_) return;
  if (!begun_.test(static_cast<size_t>(slot)))
    RuntimeError(runtime_error_code::kInternalError02, kInstanceContext);
  for (Entry& entry : entries_) {
    if (inPlace_ >= 0) {
      entry.copies[static_cast<size_t>(inPlace_)].emplace(entry.address,
                                                          entry.address + entry.size);
    }
    std::optional<Bytes>& incoming = entry.copies[static_cast<size_t>(slot)];
    // An entry registered after the slot's thread began (a file first opened by
    // another thread) has no copy yet: the thread starts from the initial image.
    if (!incoming) incoming = FreshCopy(entry);
    std::memcpy(entry.address, incoming->data(), entry.size);
  }
  inPlace_ = slot;
}

void InstanceRegistry::EndThread(int slot) {
  for (Entry& entry : entries_) entry.copies.at(static_cast<size_t>(slot)).reset();
  // The first thread's instance is the variable itself: it never needs a beginning.
  if (slot != 0) begun_.reset(static_cast<size_t>(slot));
  if (inPlace_ == slot) inPlace_ = -1;
}

InstanceRegistry& ThreadInstances() {
  static InstanceRegistry* registry = new InstanceRegistry;
  return *registry;
}

}  // namespace rk
