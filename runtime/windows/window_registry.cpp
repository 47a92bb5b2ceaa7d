#include "runtime/windows/window_registry.h"

#include <unordered_map>

namespace rk {
namespace {

template <typename T>
class Registry {
 public:
  uint32_t Add(T* object) {
    uint32_t id = next_++;
    objects_[id] = object;
    return id;
  }
  void Remove(uint32_t id) { objects_.erase(id); }
  T* Find(uint32_t id) const {
    auto it = objects_.find(id);
    return it == objects_.end() ? nullptr : it->second;
  }

 private:
  std::unordered_map<uint32_t, T*> objects_;
  uint32_t next_ = 1;
};

Registry<Window>& Windows() {
  static Registry<Window> registry;
  return registry;
}

Registry<Control>& Controls() {
  static Registry<Control> registry;
  return registry;
}

}  // namespace

uint32_t RegisterWindow(Window* window) {
  return Windows().Add(window);
}
void UnregisterWindow(uint32_t id) {
  Windows().Remove(id);
}
Window* FindWindow(uint32_t id) {
  return Windows().Find(id);
}

uint32_t RegisterControl(Control* control) {
  return Controls().Add(control);
}
void UnregisterControl(uint32_t id) {
  Controls().Remove(id);
}
Control* FindControlById(uint32_t id) {
  return Controls().Find(id);
}

}  // namespace rk
