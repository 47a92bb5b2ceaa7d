// Per-thread instances: variables of which every thread sees its own copy (the
// application's request and response globals and use counts, the files declared
// per thread with their record buffers). The variable itself always holds the
// copy of the thread whose instances are in place; when another thread comes to
// run, the variable's bytes are saved into the outgoing thread's copy and the
// incoming thread's copy is put in.
//
// A new thread's copy starts from the entry's initial image, chosen by its flags:
// kInstanceDescriptor - cleared by the type descriptor (ClearValue mode 0);
// kInstanceZeroFilled - zero bytes;
// otherwise           - a snapshot of the variable taken at registration.
// The first thread (slot 0) keeps the variable's own contents.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/windows/thread_slots.h"

namespace rk {

inline constexpr uint32_t kInstanceDescriptor = 0x1;
inline constexpr uint32_t kInstanceZeroFilled = 0x4;

// Clears a new copy by the type descriptor; installed by the value layer.
using DescriptorClearer = void (*)(uint8_t* buffer, size_t size, const uint8_t* descriptor);

class InstanceRegistry {
 public:
  InstanceRegistry();

  // Registering an address that is registered already does nothing. With
  // kInstanceDescriptor the descriptor must outlive the registry.
  void Register(void* address, size_t size, uint32_t flags, const uint8_t* descriptor = nullptr);
  bool Registered(const void* address) const;
  size_t EntryCount() const { return entries_.size(); }

  // A started thread begins: every entry gets a fresh copy for the slot. A slot
  // that holds a copy already is internal error 503.
  void BeginThread(int slot);
  // Puts the slot's copies in place. A slot that never began is internal error 502.
  void SwitchTo(int slot);
  // Releases the slot's copies.
  void EndThread(int slot);
  // The slot whose copies are in place, -1 for none.
  int InPlace() const { return inPlace_; }

  void SetDescriptorClearer(DescriptorClearer clearer) { clearer_ = clearer; }

 private:
  using Bytes = std::vector<uint8_t>;
  struct Entry {
    uint8_t* address;
    size_t size;
    uint32_t flags;
    const uint8_t* descriptor;
    Bytes snapshot;  // the initial image when neither flag is set
    std::array<std::optional<Bytes>, kThreadSlots> copies;
  };

  Bytes FreshCopy(const Entry& entry) const;

  std::vector<Entry> entries_;
  std::bitset<kThreadSlots> begun_;
  int inPlace_ = 0;
  DescriptorClearer clearer_ = nullptr;
};

// The registry of the program's runtime threads.
InstanceRegistry& ThreadInstances();

}  // namespace rk
