// Threads: started at once, never joined, waited for through their handle.
//
// A thread runs detached; its handle is only a way to look at it. Closing
// the handle leaves the thread running, and a handle kept open stays valid
// after the thread has ended, reporting its exit code, until it is closed
// (CloseHandle, kernel32/handle.h).
#pragma once

#include "win/types.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;

// Only a creation flags value of 0 (run at once) is taken; stackSize 0 is
// the default size. `security` is not used. The thread's id, the value
// GetCurrentThreadId gives on it, goes to `threadId` when that is not null.
// Returns null on failure.
PLATFORM_API HANDLE CreateThread(LPVOID security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                                 LPVOID parameter, DWORD creationFlags, DWORD* threadId);

// WAIT_OBJECT_0 once the thread has ended, WAIT_TIMEOUT after `milliseconds`
// (INFINITE waits for ever), WAIT_FAILED for a handle that is no thread.
PLATFORM_API DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// The value the thread's start routine returned, or STILL_ACTIVE.
PLATFORM_API BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);

PLATFORM_API void Sleep(DWORD milliseconds);
