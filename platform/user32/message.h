// Messages: per-thread queues, the message loop, sending and posting, and
// default processing.
//
// Each thread that uses the window system has one queue. GetMessageA and
// PeekMessageA take, in this order: messages sent from other threads (run
// at once, inside the call), posted messages, input, WM_QUIT once nothing
// else is queued, and WM_PAINT for a window of the thread that needs
// painting. A message sent to another thread's window waits for that thread,
// which runs it inside GetMessageA, PeekMessageA, WaitMessage, its own
// SendMessageA or a modal loop; while it waits, the sender runs messages
// sent to it, so two threads sending to each other do not deadlock. A send
// to a destroyed window or to a thread that has ended returns 0 at once.
// Waiting never spins: the thread sleeps in poll() on its wake-up descriptor
// (and the display's).
#pragma once

#include "gdi32/geometry.h"
#include "user32/window.h"

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYLAST = 0x0109;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORDLG = 0x0136;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSELAST = 0x020A;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// WM_SYSCOMMAND commands (the low four bits are the system's own).
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

// Mouse message key flags.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
  return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr DWORD MAKELONG(WORD low, WORD high) {
  return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
}
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<int16_t>(lp & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<int16_t>((lp >> 16) & 0xFFFF); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM wp) { return static_cast<int16_t>((wp >> 16) & 0xFFFF); }

// Window handle, message, parameters, the time it was queued (milliseconds
// of the message clock) and the cursor position then, in screen coordinates.
struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

// 0 for WM_QUIT, -1 for a bad argument (null record, unknown window filter),
// else nonzero. A window filter takes that window and its descendants
// ((HWND)-1: only messages without a window); a range of 0, 0 takes all.
// WM_QUIT ignores the filters.
PLATFORM_API BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);
// Like GetMessageA without waiting; FALSE when nothing is there.
PLATFORM_API BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT flags);
// Sleeps until the queue has something to take (running sent messages).
PLATFORM_API BOOL WaitMessage();
// Posts WM_CHAR (WM_SYSCHAR with Alt) for a key that types a character,
// with a US keyboard layout. TRUE when it posted one.
PLATFORM_API BOOL TranslateMessage(const MSG* message);
// Calls the window procedure of the message's window on the calling thread;
// 0 for a message without a window or for an unknown window.
PLATFORM_API LRESULT DispatchMessageA(const MSG* message);
// A null window posts to the calling thread. FALSE for an unknown window or
// an ended thread.
PLATFORM_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
PLATFORM_API BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// GetMessageA returns WM_QUIT with this code once the queue is empty.
PLATFORM_API void PostQuitMessage(int exitCode);
PLATFORM_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The time of the message last taken by this thread.
PLATFORM_API LONG GetMessageTime();

PLATFORM_API LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam);
// Default processing: text messages; WM_CLOSE destroys the window;
// WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE, SC_MINIMIZE and SC_RESTORE minimise
// and restore (SC_MINIMIZE / SC_MAXIMIZE only with the matching box style);
// WM_ERASEBKGND fills with the class brush; WM_PAINT validates; WM_ACTIVATE
// gives the window the focus; WM_CTLCOLOR* give the system colours;
// Alt+F4 closes; WM_MOUSEWHEEL goes on to the parent.
PLATFORM_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
