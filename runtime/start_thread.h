// Starting a thread that runs one of the program's subroutines.
#pragma once

#include "win/types.h"

#include <cstdint>

// A thread entry: called on the new thread with the parameter; its result is
// the thread's exit code.
using ThreadEntry = DWORD (*)(void* parameter);

// Starts the entry at once with the parameter (0 when omitted). With a
// handle variable, the thread's handle is stored there and stays open until
// the caller closes it; without one it is closed at once and the thread runs
// on by itself. True when the thread was started.
bool StartThread(ThreadEntry entry, void* parameter = nullptr, HANDLE* handleVariable = nullptr);
