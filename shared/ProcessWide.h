// TProcessWide: the slot of one process-wide service (the tab-line store, the unit service, the
// program information), created by start-up code and freed at exit.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace shared {

template <class T>
class TProcessWide {
 public:
  // A fresh instance in place of any earlier one.
  static void Create() { Slot() = std::make_unique<T>(); }
  // An instance, kept when there is one already.
  static void CreateOnce() {
    if (!Slot()) Create();
  }
  static void Free() { Slot().reset(); }
  static bool Exists() { return Slot() != nullptr; }
  // Raises std::logic_error naming the service when there is no instance: a use before
  // start-up or after shutdown is a fault of the caller, not a reason to crash.
  static T& Get(const char* service) {
    if (!Slot()) throw std::logic_error(std::string(service) + " was used before it was created.");
    return *Slot();
  }

 private:
  static std::unique_ptr<T>& Slot() {
    static std::unique_ptr<T> instance;
    return instance;
  }
};

}  // namespace shared
