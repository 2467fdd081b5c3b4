// The thread component: starting threads, and the registry of the critical
// sections created through it, which the end of the program deletes.
#pragma once

#include "runtime/service_entry.h"

#include <cstdint>

int32_t ThreadComponentNotify(int32_t code, intptr_t value, int32_t reserved);
ServiceEntryFunction ThreadServiceEntry();

struct CRITICAL_SECTION;
// A critical section kept in the registry until the end of the program.
CRITICAL_SECTION* NewCriticalSection();
int32_t CriticalSectionCount();
