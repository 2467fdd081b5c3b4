// The process and its program file.
#pragma once

#include "win/types.h"

// Ends the process at once with the exit code; other threads end with it.
PLATFORM_API [[noreturn]] void ExitProcess(UINT code);

PLATFORM_API DWORD GetCurrentThreadId();

// The program's own path, with "/" separators, as a code page 936 text.
// A null module means the program. Returns the length copied, without the
// terminator; a path longer than the buffer is cut and the buffer ends
// with a zero byte.
PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

// The command line after the program name, blanks between the arguments.
PLATFORM_API LPCSTR PlatformCommandTail();
