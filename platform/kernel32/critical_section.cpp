#include "kernel32/critical_section.h"

#include <memory>
#include <mutex>

namespace {

static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::opaque));
static_assert(alignof(std::recursive_mutex) <= alignof(CRITICAL_SECTION));

std::recursive_mutex* MutexOf(CRITICAL_SECTION* section) {
  return std::launder(reinterpret_cast<std::recursive_mutex*>(section->opaque));
}

} // namespace

void InitializeCriticalSection(CRITICAL_SECTION* section) {
  std::construct_at(reinterpret_cast<std::recursive_mutex*>(section->opaque));
}

void EnterCriticalSection(CRITICAL_SECTION* section) { MutexOf(section)->lock(); }

BOOL TryEnterCriticalSection(CRITICAL_SECTION* section) {
  return MutexOf(section)->try_lock() ? TRUE : FALSE;
}

void LeaveCriticalSection(CRITICAL_SECTION* section) { MutexOf(section)->unlock(); }

void DeleteCriticalSection(CRITICAL_SECTION* section) { std::destroy_at(MutexOf(section)); }
