// Keyboard and mouse state: focus, activation, capture, key states and the
// cursor.
//
// Input arrives from the display as raw events (user32/display_backend.h)
// and becomes messages on the thread that owns the window it is for: mouse
// messages go to the topmost visible window under the cursor (a Static
// without SS_NOTIFY and a disabled child let them through to what lies
// beneath), or to the capture window; while a button is held the mouse
// stays with the window it went down on. Keys go to the focus window, or
// the active window when nothing has the focus. A disabled window and
// everything inside it takes no input at all. One focus, one active window
// and one capture exist for the whole process.
#pragma once

#include "gdi32/geometry.h"
#include "user32/window.h"

using SHORT = int16_t;

constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_MBUTTON = 0x04;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_PAUSE = 0x13;
constexpr UINT VK_CAPITAL = 0x14;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
// '0'..'9' and 'A'..'Z' are their own virtual-key codes.
constexpr UINT VK_NUMPAD0 = 0x60;
constexpr UINT VK_NUMPAD9 = 0x69;
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F4 = 0x73;
constexpr UINT VK_F10 = 0x79;
constexpr UINT VK_F12 = 0x7B;
constexpr UINT VK_LSHIFT = 0xA0;
constexpr UINT VK_RSHIFT = 0xA1;
constexpr UINT VK_LCONTROL = 0xA2;
constexpr UINT VK_RCONTROL = 0xA3;
constexpr UINT VK_LMENU = 0xA4;
constexpr UINT VK_RMENU = 0xA5;
constexpr UINT VK_OEM_1 = 0xBA;
constexpr UINT VK_OEM_PLUS = 0xBB;
constexpr UINT VK_OEM_COMMA = 0xBC;
constexpr UINT VK_OEM_MINUS = 0xBD;
constexpr UINT VK_OEM_PERIOD = 0xBE;
constexpr UINT VK_OEM_2 = 0xBF;
constexpr UINT VK_OEM_3 = 0xC0;
constexpr UINT VK_OEM_4 = 0xDB;
constexpr UINT VK_OEM_5 = 0xDC;
constexpr UINT VK_OEM_6 = 0xDD;
constexpr UINT VK_OEM_7 = 0xDE;

// MessageBeep kinds (the MB_ICON values of user32/message_box.h also work).
constexpr UINT MB_SIMPLEBEEP = 0xFFFFFFFF;

// Sends WM_KILLFOCUS to the window that had the focus and WM_SETFOCUS to
// the new one, activating its top-level window first. Returns the window
// that had the focus; null (and nothing changes) for an unknown or disabled
// window. A null window takes the focus away.
PLATFORM_API HWND SetFocus(HWND window);
PLATFORM_API HWND GetFocus();
// Sends WM_ACTIVATE (WA_INACTIVE) to the window that was active and
// WM_ACTIVATE (WA_ACTIVE) to the new one; returns the one that was active.
PLATFORM_API HWND SetActiveWindow(HWND window);
PLATFORM_API HWND GetActiveWindow();
PLATFORM_API BOOL SetForegroundWindow(HWND window);
PLATFORM_API HWND GetForegroundWindow();
// All mouse input goes to the capture window until it is released; the
// window that loses the capture gets WM_CAPTURECHANGED.
PLATFORM_API HWND SetCapture(HWND window);
PLATFORM_API BOOL ReleaseCapture();
PLATFORM_API HWND GetCapture();
// The state of a key as of the input taken so far: 0x8000 while it is down;
// bit 0 is the toggle state.
PLATFORM_API SHORT GetKeyState(int virtualKey);
PLATFORM_API SHORT GetAsyncKeyState(int virtualKey);
PLATFORM_API BOOL GetCursorPos(POINT* point);
PLATFORM_API UINT GetDoubleClickTime();
PLATFORM_API BOOL MessageBeep(UINT type);
