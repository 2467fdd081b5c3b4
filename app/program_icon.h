// The program's icon, resource 129: a note beside lyric lines on a sheet of
// paper, drawn in code. The window class of the main window takes it, and
// the display shows it as the window's icon.
#pragma once

#include <cstdint>
#include <vector>

constexpr unsigned short kProgramIconId = 129;

// The icon as ARGB pixels (0xAARRGGBB, rows from the top), `size` by
// `size`; drawn for 32 and scaled from that for any other size.
std::vector<uint32_t> ProgramIconPixels(int size);
// Registers the 32 by 32 icon as resource 129 of the program's module, so
// that LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129)) finds it.
// Call before the main window's class is registered.
void RegisterProgramIcon();
