// The nineteen system functions that the start subroutine and the window
// toolkit call through cells bound by name on first use. Every other system
// function is linked when the program is built.
#pragma once

#include "gdi32/gdi.h"
#include "ui/system_binding.h"
#include "user32/message.h"
#include "user32/resource.h"
#include "user32/window.h"

namespace bound {

extern BoundFunction<BOOL(MSG*, HWND, UINT, UINT)> GetMessageA;
extern BoundFunction<BOOL(const MSG*)> TranslateMessage;
extern BoundFunction<LRESULT(const MSG*)> DispatchMessageA;
extern BoundFunction<HMODULE(LPCSTR)> GetModuleHandleA;
extern BoundFunction<BOOL(HWND)> IsWindowVisible;
extern BoundFunction<BOOL(HWND, int)> ShowWindow;
extern BoundFunction<BOOL(HWND)> UpdateWindow;
extern BoundFunction<BOOL(HWND)> IsWindow;
extern BoundFunction<BOOL(HWND, LPCSTR)> SetWindowTextA;
extern BoundFunction<LRESULT(HWND, UINT, WPARAM, LPARAM)> SendMessageA;
extern BoundFunction<HICON(HINSTANCE, LPCSTR)> LoadIconA;
extern BoundFunction<HCURSOR(HINSTANCE, LPCSTR)> LoadCursorA;
extern BoundFunction<ATOM(const WNDCLASSEXA*)> RegisterClassExA;
extern BoundFunction<LRESULT(HWND, UINT, WPARAM, LPARAM)> DefWindowProcA;
extern BoundFunction<void(int)> PostQuitMessage;
extern BoundFunction<LONG_PTR(HWND, int)> GetWindowLongA;
extern BoundFunction<LONG_PTR(HWND, int, LONG_PTR)> SetWindowLongA;
extern BoundFunction<HFONT(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR)>
    CreateFontA;
extern BoundFunction<BOOL(HGDIOBJ)> DeleteObject;

} // namespace bound
