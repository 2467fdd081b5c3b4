#include "runtime/dialog_component.h"

#include "runtime/components.h"

#include <atomic>

namespace {
std::atomic<ServiceEntryFunction> service_entry{nullptr};
}

int32_t DialogComponentNotify(int32_t code, intptr_t value, int32_t) {
  if (code == ComponentStart) {
    service_entry.store(reinterpret_cast<ServiceEntryFunction>(value));
    return 0;
  }
  return -1;
}

ServiceEntryFunction DialogServiceEntry() { return service_entry.load(); }
