// Every function libkernel32.so exports, with its ordinal and its argument
// count. Ordinals are never renumbered; new functions take the next one.
// wsprintfA counts its two fixed arguments.
#include "win/exports.h"

PLATFORM_EXPORT_TABLE(
    // Process heap
    {"GetProcessHeap", 1, 0}, {"HeapAlloc", 2, 3}, {"HeapReAlloc", 3, 4}, {"HeapFree", 4, 3},
    {"HeapSize", 5, 3}, {"PlatformAddressInProgramImage", 6, 1},
    // Clock
    {"GetLocalTime", 7, 1}, {"PlatformTestSetLocalTime", 8, 1},
    // Process
    {"ExitProcess", 9, 1}, {"GetCurrentThreadId", 10, 0}, {"GetModuleFileNameA", 11, 3},
    {"PlatformCommandTail", 12, 0},
    // Last error
    {"GetLastError", 13, 0}, {"SetLastError", 14, 1}, {"PlatformErrorFromErrno", 15, 1},
    // Code page conversion
    {"MultiByteToWideChar", 16, 6}, {"WideCharToMultiByte", 17, 8}, {"PlatformCp936ToUtf8", 18, 4},
    {"PlatformUtf8ToCp936", 19, 4}, {"PlatformPathToUtf8", 20, 4},
    // Handles, files and directory listings
    {"CloseHandle", 21, 1}, {"CreateFileA", 22, 7}, {"WriteFile", 23, 5}, {"FindFirstFileA", 24, 2},
    {"FindNextFileA", 25, 2}, {"FindClose", 26, 1},
    // Threads and critical sections
    {"CreateThread", 27, 6}, {"WaitForSingleObject", 28, 2}, {"GetExitCodeThread", 29, 2}, {"Sleep", 30, 1},
    {"InitializeCriticalSection", 31, 1}, {"EnterCriticalSection", 32, 1}, {"TryEnterCriticalSection", 33, 1},
    {"LeaveCriticalSection", 34, 1}, {"DeleteCriticalSection", 35, 1},
    // Modules
    {"GetModuleHandleA", 36, 1}, {"LoadLibraryA", 37, 1}, {"GetProcAddress", 38, 2}, {"FreeLibrary", 39, 1},
    {"PlatformArgumentCount", 40, 2},
    // Formatting
    {"wsprintfA", 41, 2}, {"wvsprintfA", 42, 3},
    // Test hooks added later
    {"PlatformTestSetProgramPath", 43, 1});
