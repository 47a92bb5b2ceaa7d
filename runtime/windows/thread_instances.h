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
#include <span>
#include <vector>

#include "runtime/windows/thread_slots.h"

namespace rk {

inline constexpr uint32_t kInstanceDescriptor = 0x1;
inline constexpr uint32_t kInstanceZeroFilled = 0x4;

class InstanceRegistry {
 public:
  InstanceRegistry();

  // Registering an address that is registered already does nothing. The
  // descriptor is needed (and copied) only with kInstanceDescriptor.
  void Register(void* address, size_t size, uint32_t flags,
                std::span<const uint8_t> descriptor = {});
  bool Registered(const void* address) const;
  // Drops the entry of an address that is going away, with every thread's copy
  // of it; nothing for an address that is not registered.
  void Unregister(const void* address);
  size_t EntryCount() const { return entries_.size(); }

  // A started thread begins: every entry gets a fresh copy for the slot. A slot
  // that holds a copy already is internal error 503.
  void BeginThread(int slot);
  // Puts the slot's copies in place. A slot that never began is internal error 502.
  void SwitchTo(int slot);
  // Releases the slot's copies.
  void EndThread(int slot);
  // Whether the slot's thread has copies (the first thread's always counts).
  bool Begun(int slot) const { return begun_.test(static_cast<size_t>(slot)); }
  // The slot whose copies are in place, -1 for none.
  int InPlace() const { return inPlace_; }

 private:
  using Bytes = std::vector<uint8_t>;
  struct Entry {
    uint8_t* address;
    size_t size;
    uint32_t flags;
    Bytes descriptor;
    Bytes snapshot;  // the initial image when neither flag is set
    std::array<std::optional<Bytes>, kThreadSlots> copies;
  };

  Bytes FreshCopy(const Entry& entry) const;

  std::vector<Entry> entries_;
  std::bitset<kThreadSlots> begun_;
  int inPlace_ = 0;
};

// The registry of the program's runtime threads.
InstanceRegistry& ThreadInstances();

}  // namespace rk
