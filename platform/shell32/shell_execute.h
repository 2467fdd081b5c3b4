// Shell execute: opening a file with the desktop's program for it.
//
// There is no registry of file types here: the desktop's own opener decides.
// "open", "edit", "explore" and the default verb (null or "") run
// `xdg-open FILE`, "print" runs `lp FILE`; verbs compare without ASCII case.
// Each further word of the parameters (split on blanks, a double-quoted
// stretch staying one word, the quotes dropped) follows FILE as an argument
// of its own. The program is looked for along PATH at the time of the call.
//
// The program starts detached: nothing waits for it, it leaves no zombie
// (it is a grandchild, handed to init at once), its standard streams are
// /dev/null, and it runs in the directory given (null or "": the current
// one). A relative FILE is taken inside that directory. FILE, the directory
// and the parameters are code page 936 texts; the program receives UTF-8.
// The show command is passed on to nobody: the desktop's opener shows its
// window as it likes.
//
// The result is a value above 32 when the program started, else one of the
// codes below.
#pragma once

#include "win/types.h"

// The desktop is out of resources (no process could be started).
constexpr int SE_ERR_OUT_OF_RESOURCES = 0;
// FILE is null, empty or does not exist.
constexpr int SE_ERR_FNF = 2;
// The directory given does not exist or is no folder.
constexpr int SE_ERR_PNF = 3;
// The verb is unknown or "find", "explore" names no folder, or the program
// for the verb is not on PATH or would not start.
constexpr int SE_ERR_NOASSOC = 31;

// What a successful call returns.
constexpr int SHELL_EXECUTE_STARTED = 42;

PLATFORM_API HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                     LPCSTR directory, INT showCommand);

// One call as the caller made it, for tests: the texts are the caller's
// code page 936 bytes or null, valid only while the observer runs.
struct PlatformShellExecuteCall {
  HWND owner;
  LPCSTR verb;
  LPCSTR file;
  LPCSTR parameters;
  LPCSTR directory;
  INT showCommand;
  HINSTANCE result;
};

// The observer sees every call once it has been decided, whatever its
// result; null removes it. It runs on the calling thread.
using PlatformShellExecuteObserver = void (*)(const PlatformShellExecuteCall* call, void* context);
PLATFORM_API void PlatformTestSetShellExecuteObserver(PlatformShellExecuteObserver observer, void* context);
