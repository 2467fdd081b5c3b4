// The run-time frame: the start of the program, its one exit sequence and
// the single path by which unrecoverable conditions end it.
//
// The exit sequence runs once, whatever path leads to it. On the main thread,
// once the start-up frame is recorded, ending the program returns through
// that frame; anywhere else the process ends at once.
#pragma once

#include <cstdint>

// Takes the process heap, initialises OLE on the calling (main) thread and
// notifies the runtime's components of the start.
void RuntimeStartup();

using ExitRoutine = void (*)();
// The program's exit routine; a later call replaces it.
void SetExitRoutine(ExitRoutine routine);
// The dynamic-library unloader, registered by the binder when it first loads
// a library itself.
void SetLibraryUnloader(ExitRoutine unloader);

// Records the start-up frame and runs the program on the calling thread; the
// program's result goes to ExitProgram. Returns 0 once the exit sequence has
// run, which the caller passes on as the process's exit code.
int RunInStartupFrame(int32_t (*program)());

[[noreturn]] void ExitProgram(int32_t code);

// Shows "program internal error number is N. (0xNh)" and ends the program.
[[noreturn]] void FatalError(int32_t number);
