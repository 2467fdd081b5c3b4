// Dialogs: top-level windows of the dialog class that hold controls, run a
// modal loop of their own and move the keyboard focus between their
// controls.
//
// A dialog belongs to the thread that creates it, and only that thread runs
// its loop. Its dialog procedure (DLGPROC) sees every message first and
// returns nonzero for one it handled (for WM_INITDIALOG and WM_CTLCOLOR* the
// value is the answer); what it leaves goes to the default dialog
// processing: WM_CLOSE becomes WM_COMMAND IDCANCEL, activation gives the
// focus back to the control that had it (the first tab stop at the start),
// and the rest goes to DefWindowProcA.
//
// The keyboard, inside IsDialogMessageA: Tab and Shift+Tab move the focus
// along the controls with WS_TABSTOP in creation order (an Edit that gets
// the focus this way has its whole text selected), Enter presses the
// focused push button or else the default one (BS_DEFPUSHBUTTON, IDOK when
// there is none), and Esc sends WM_COMMAND IDCANCEL. Ordinary top-level
// windows run no IsDialogMessageA, so Tab does nothing there.
#pragma once

#include "user32/message.h"

using INT_PTR = intptr_t;
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// wParam: the first tab stop (null before the procedure made its controls);
// lParam: the creation parameter. When the dialog is shown the focus goes
// to the control the procedure gave it here, else to the first tab stop.
constexpr UINT WM_INITDIALOG = 0x0110;

// The class of every dialog, message boxes included.
constexpr const char* PLATFORM_DIALOG_CLASS = "#32770";

// A hidden dialog with a caption, a close box and the given client size,
// centred over the top-level window of `owner` (null: the screen) and kept
// on the screen. `proc` gets WM_INITDIALOG with `param` once the window
// exists, to create its controls. Null when the window could not be made or
// WM_INITDIALOG destroyed it.
PLATFORM_API HWND PlatformCreateDialog(HWND owner, LPCSTR title, int clientWidth, int clientHeight,
                                       DLGPROC proc, LPARAM param);
// Shows the dialog and runs its modal loop on the calling thread (the
// dialog's own) until EndDialog: other windows' messages are dispatched as
// usual, and the owner's top-level window is disabled meanwhile and enabled
// again afterwards if it was enabled before. Then the dialog is destroyed
// and the owner made active again. Returns the value given to EndDialog;
// -1 for an unknown dialog or one of another thread, or when the loop ended
// without EndDialog (the dialog was destroyed, or WM_QUIT came, which is
// posted again for the loop outside).
PLATFORM_API INT_PTR PlatformRunModalDialog(HWND dialog);
// Ends the modal loop of the dialog with `result`; from any thread.
PLATFORM_API BOOL EndDialog(HWND dialog, INT_PTR result);
// Handles the dialog keys of a message for the dialog or one of its
// controls and dispatches the others; FALSE (nothing done) for a message of
// another window.
PLATFORM_API BOOL IsDialogMessageA(HWND dialog, MSG* message);
// The next (or previous) visible, enabled control with WS_TABSTOP after
// `control`, wrapping around; the first (or last) for a null control.
PLATFORM_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);

// The same as the calls on GetDlgItem(dialog, id); 0 or FALSE when there is
// no such control.
PLATFORM_API BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
PLATFORM_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
PLATFORM_API LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
