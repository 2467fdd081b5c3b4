#include "runtime/thread_component.h"

#include "runtime/components.h"

#include <atomic>

namespace {
std::atomic<ServiceEntryFunction> service_entry{nullptr};
}

int32_t ThreadComponentNotify(int32_t code, intptr_t value, int32_t) {
  switch (code) {
  case ComponentStart:
    service_entry.store(reinterpret_cast<ServiceEntryFunction>(value));
    return 0;
  case ComponentExit:
    return 0;
  default:
    return -1;
  }
}

ServiceEntryFunction ThreadServiceEntry() { return service_entry.load(); }
