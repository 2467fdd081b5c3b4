// The program's start subroutine: builds the main window and its eight
// controls at their fixed places, then runs the UI thread's message loop
// until the main window is gone.
#pragma once

#include <cstdint>

int32_t StartSubroutine();
// Returns the quit message's wParam.
int32_t MessageLoop();
