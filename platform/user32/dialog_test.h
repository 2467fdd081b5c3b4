// What tests use to find and answer dialogs (message boxes, the folder
// browser) from a thread of their own, through the same input a user gives.
//
// Every wait is bounded by its time-out and sleeps between looks. The calls
// that press, click or type queue input (user32/headless_display.h); the
// dialog's thread handles it in its modal loop.
#pragma once

#include "win/types.h"

// A dialog (class "#32770") with this title (code page 936; null: any)
// once it is ready for input: shown, active, holding the keyboard focus,
// and its modal loop running. Null on time-out.
PLATFORM_API HWND PlatformTestWaitForDialog(LPCSTR title, DWORD timeoutMs);
// Waits until the window no longer exists; FALSE on time-out.
PLATFORM_API BOOL PlatformTestWaitForWindowGone(HWND window, DWORD timeoutMs);
// The dialog's first control of this class (null: any) whose text is
// exactly `text` (null: any), or null.
PLATFORM_API HWND PlatformTestFindDialogControl(HWND dialog, LPCSTR className, LPCSTR text);
// A mouse click in the middle of the window.
PLATFORM_API BOOL PlatformTestClickControl(HWND control);
// Clicks the dialog's button with this caption; FALSE when there is none.
PLATFORM_API BOOL PlatformTestPressDialogButton(HWND dialog, LPCSTR caption);
// The index of the list box's first item whose text is exactly `text`, or -1.
PLATFORM_API int PlatformTestFindListItem(HWND list, LPCSTR text);
// Scrolls the item into view and clicks it, twice as a double click when
// `twice`; FALSE when the list has no such item.
PLATFORM_API BOOL PlatformTestClickListItem(HWND list, LPCSTR text, BOOL twice);
