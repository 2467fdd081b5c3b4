#include "runtime/thread_component.h"

#include "kernel32/critical_section.h"
#include "runtime/block.h"
#include "runtime/components.h"

#include <atomic>

namespace {

// The critical sections created through the component, deleted at the end.
struct CriticalSectionNode {
  CRITICAL_SECTION section;
  CriticalSectionNode* next;
};

std::atomic<ServiceEntryFunction> service_entry{nullptr};
CriticalSectionNode* registry = nullptr;

void DeleteRegistry() {
  while (CriticalSectionNode* node = registry) {
    registry = node->next;
    DeleteCriticalSection(&node->section);
    FreeBlock(node);
  }
}

} // namespace

int32_t ThreadComponentNotify(int32_t code, intptr_t value, int32_t) {
  switch (code) {
  case ComponentStart:
    service_entry.store(reinterpret_cast<ServiceEntryFunction>(value));
    return 0;
  case ComponentExit:
    DeleteRegistry();
    return 0;
  default:
    return -1;
  }
}

ServiceEntryFunction ThreadServiceEntry() { return service_entry.load(); }

CRITICAL_SECTION* NewCriticalSection() {
  auto* node = static_cast<CriticalSectionNode*>(AllocBlock(sizeof(CriticalSectionNode)));
  InitializeCriticalSection(&node->section);
  node->next = registry;
  registry = node;
  return &node->section;
}

int32_t CriticalSectionCount() {
  int32_t n = 0;
  for (CriticalSectionNode* node = registry; node; node = node->next)
    n++;
  return n;
}
