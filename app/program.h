// The whole program on the calling thread, from the choice of display to the
// end of the exit sequence: what main() runs, and what tests run in a
// process of their own.
#pragma once

// 0 once the program has ended normally; 1 when no display can be opened
// (the headless display is taken only when CANTIVA_DISPLAY asks for it).
int RunProgram();
