// Modules: the program and the platform libraries, found and bound by name.
//
// A module name is a Windows library name such as "user32" or "USER32.DLL";
// it stands for lib<name>.so (ASCII letters lowered, ".dll" dropped). A name
// with a "\\" or "/" in it is a path to the library file itself. A module
// handle is what dlopen gives; the program's own handle is that of
// dlopen(nullptr). GetProcAddress finds only what the module itself
// defines, never what it merely links from another library.
#pragma once

#include "win/types.h"

// A function of unknown type. Windows returns INT_PTR here; void (*)() is
// the type the compiler lets callers cast to the function's real type
// without a warning.
using FARPROC = void (*)();

// The module when it is already in the process, else null
// (ERROR_MOD_NOT_FOUND). Null names the program. Takes no reference.
PLATFORM_API HMODULE GetModuleHandleA(LPCSTR name);

// Loads the module, taking one reference: first from the folder of the
// running program (the platform libraries live beside it), then along the
// usual library search path. Null on failure (ERROR_MOD_NOT_FOUND).
PLATFORM_API HMODULE LoadLibraryA(LPCSTR name);

// A function of the module by name, or by ordinal when `name` is a value
// below 65536 (MAKEINTRESOURCE), resolved through the module's
// PlatformModuleExports table (win/exports.h). Null on failure
// (ERROR_PROC_NOT_FOUND). A null module is the program.
PLATFORM_API FARPROC GetProcAddress(HMODULE module, LPCSTR name);

// Gives back one reference taken by LoadLibraryA.
PLATFORM_API BOOL FreeLibrary(HMODULE module);

// How many arguments the function takes, from the module's export table;
// `functionName` may be an ordinal as for GetProcAddress. -1 when the
// module has no table or the table does not list the function.
PLATFORM_API int PlatformArgumentCount(HMODULE module, LPCSTR functionName);
