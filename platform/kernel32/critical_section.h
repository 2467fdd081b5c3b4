// Critical sections: recursive locks in storage the caller owns.
//
// A thread may enter a section it already holds; it stays held until it
// has been left as often as it was entered. A section is initialised once
// before use and deleted once, while nobody holds it.
#pragma once

#include "win/types.h"

// Room for the recursive mutex underneath, as large as the Windows record.
struct CRITICAL_SECTION {
  alignas(8) unsigned char opaque[40];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

PLATFORM_API void InitializeCriticalSection(CRITICAL_SECTION* section);
PLATFORM_API void EnterCriticalSection(CRITICAL_SECTION* section);
PLATFORM_API BOOL TryEnterCriticalSection(CRITICAL_SECTION* section);
PLATFORM_API void LeaveCriticalSection(CRITICAL_SECTION* section);
PLATFORM_API void DeleteCriticalSection(CRITICAL_SECTION* section);
