// The system window classes and their procedures (internal to libuser32).
#pragma once

#include "user32/class_registry.h"

namespace user32 {

constexpr const char* kDesktopClassName = "#32769";

// Button 0x80, Edit 0x81, Static 0x82, ListBox 0x83: the atoms Windows
// documents for them; the desktop's class has the atom 0x8001.
void RegisterSystemClasses(ClassRegistry& classes);

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace user32
