#include "ui/system_functions.h"

namespace bound {

BoundFunction<BOOL(MSG*, HWND, UINT, UINT)> GetMessageA("user32", "GetMessageA");
BoundFunction<BOOL(const MSG*)> TranslateMessage("user32", "TranslateMessage");
BoundFunction<LRESULT(const MSG*)> DispatchMessageA("user32", "DispatchMessageA");
BoundFunction<HMODULE(LPCSTR)> GetModuleHandleA("kernel32", "GetModuleHandleA");
BoundFunction<BOOL(HWND)> IsWindowVisible("user32", "IsWindowVisible");
BoundFunction<BOOL(HWND, int)> ShowWindow("user32", "ShowWindow");
BoundFunction<BOOL(HWND)> UpdateWindow("user32", "UpdateWindow");
BoundFunction<BOOL(HWND)> IsWindow("user32", "IsWindow");
BoundFunction<BOOL(HWND, LPCSTR)> SetWindowTextA("user32", "SetWindowTextA");
BoundFunction<LRESULT(HWND, UINT, WPARAM, LPARAM)> SendMessageA("user32", "SendMessageA");
BoundFunction<HICON(HINSTANCE, LPCSTR)> LoadIconA("user32", "LoadIconA");
BoundFunction<HCURSOR(HINSTANCE, LPCSTR)> LoadCursorA("user32", "LoadCursorA");
BoundFunction<ATOM(const WNDCLASSEXA*)> RegisterClassExA("user32", "RegisterClassExA");
BoundFunction<LRESULT(HWND, UINT, WPARAM, LPARAM)> DefWindowProcA("user32", "DefWindowProcA");
BoundFunction<void(int)> PostQuitMessage("user32", "PostQuitMessage");
BoundFunction<LONG_PTR(HWND, int)> GetWindowLongA("user32", "GetWindowLongA");
BoundFunction<LONG_PTR(HWND, int, LONG_PTR)> SetWindowLongA("user32", "SetWindowLongA");
BoundFunction<HFONT(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR)>
    CreateFontA("gdi32", "CreateFontA");
BoundFunction<BOOL(HGDIOBJ)> DeleteObject("gdi32", "DeleteObject");

} // namespace bound
