// The process heap: one heap per process, serialising its own operations,
// so that every thread may allocate and release blocks at the same time.
#pragma once

#include "win/types.h"

constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;

PLATFORM_API HANDLE GetProcessHeap();
PLATFORM_API LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
PLATFORM_API LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
PLATFORM_API BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
PLATFORM_API SIZE_T HeapSize(HANDLE heap, DWORD flags, LPCVOID block);

// Whether an address lies inside the program's own loaded image (its code,
// literals and static data), where nothing is ever released.
PLATFORM_API BOOL PlatformAddressInProgramImage(LPCVOID address);
