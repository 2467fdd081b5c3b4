// The process and its program file.
#pragma once

#include "win/types.h"

// Ends the process at once with the exit code; other threads end with it.
PLATFORM_API [[noreturn]] void ExitProcess(UINT code);

PLATFORM_API DWORD GetCurrentThreadId();

// The full path of a module's file (a null module or GetModuleHandleA(nullptr)
// is the program), with "/" separators, converted from the file system's
// UTF-8 to code page 936 ("?" for a character the code page lacks). Returns
// the length copied, without the terminator. A path that does not fit is
// cut to size - 1 bytes and a terminator, and the result is then `size`
// with ERROR_INSUFFICIENT_BUFFER, as on Windows.
PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
// Tests: the program's path as GetModuleFileNameA reports it from now on
// (file system UTF-8), so that what the program writes beside itself goes to
// a test's own folder; null goes back to the real path. Libraries are still
// looked up beside the real program file.
PLATFORM_API void PlatformTestSetProgramPath(const char* path);

// The command line after the program name, blanks between the arguments.
PLATFORM_API LPCSTR PlatformCommandTail();
