// Every function libuser32.so exports, with its ordinal and its argument
// count. Ordinals are never renumbered; new functions take the next one.
#include "win/exports.h"

PLATFORM_EXPORT_TABLE(
    // Message loop
    {"GetMessageA", 1, 4}, {"TranslateMessage", 2, 1}, {"DispatchMessageA", 3, 1}, {"PeekMessageA", 4, 5},
    {"WaitMessage", 5, 0}, {"PostMessageA", 6, 4}, {"PostThreadMessageA", 7, 4}, {"PostQuitMessage", 8, 1},
    {"SendMessageA", 9, 4}, {"GetMessageTime", 10, 0}, {"CallWindowProcA", 11, 5}, {"DefWindowProcA", 12, 4},
    // Classes and windows
    {"RegisterClassExA", 13, 1}, {"UnregisterClassA", 14, 2}, {"GetClassInfoExA", 15, 3},
    {"GetClassNameA", 16, 3}, {"CreateWindowExA", 17, 12}, {"DestroyWindow", 18, 1}, {"IsWindow", 19, 1},
    {"IsChild", 20, 2}, {"GetWindowThreadProcessId", 21, 2}, {"ShowWindow", 22, 2},
    {"IsWindowVisible", 23, 1}, {"IsIconic", 24, 1}, {"IsZoomed", 25, 1}, {"EnableWindow", 26, 2},
    {"IsWindowEnabled", 27, 1}, {"GetWindowLongA", 28, 2}, {"SetWindowLongA", 29, 3},
    {"GetWindowLongPtrA", 30, 2}, {"SetWindowLongPtrA", 31, 3}, {"SetWindowTextA", 32, 2},
    {"GetWindowTextA", 33, 3}, {"GetWindowTextLengthA", 34, 1}, {"GetParent", 35, 1},
    {"GetDesktopWindow", 36, 0}, {"FindWindowA", 37, 2}, {"GetDlgItem", 38, 2}, {"GetDlgCtrlID", 39, 1},
    {"EnumWindows", 40, 2}, {"EnumChildWindows", 41, 3},
    // Geometry
    {"GetWindowRect", 42, 2}, {"GetClientRect", 43, 2}, {"MoveWindow", 44, 6}, {"SetWindowPos", 45, 7},
    {"MapWindowPoints", 46, 4}, {"ClientToScreen", 47, 2}, {"ScreenToClient", 48, 2},
    {"AdjustWindowRectEx", 49, 4}, {"WindowFromPoint", 50, 1}, {"GetSystemMetrics", 51, 1},
    // Rectangles
    {"SetRect", 52, 5}, {"SetRectEmpty", 53, 1}, {"CopyRect", 54, 2}, {"IsRectEmpty", 55, 1},
    {"EqualRect", 56, 2}, {"PtInRect", 57, 2}, {"OffsetRect", 58, 3}, {"InflateRect", 59, 3},
    {"IntersectRect", 60, 3}, {"UnionRect", 61, 3},
    // Input
    {"SetFocus", 62, 1}, {"GetFocus", 63, 0}, {"SetActiveWindow", 64, 1}, {"GetActiveWindow", 65, 0},
    {"SetForegroundWindow", 66, 1}, {"GetForegroundWindow", 67, 0}, {"SetCapture", 68, 1},
    {"ReleaseCapture", 69, 0}, {"GetCapture", 70, 0}, {"GetKeyState", 71, 1}, {"GetAsyncKeyState", 72, 1},
    {"GetCursorPos", 73, 1}, {"GetDoubleClickTime", 74, 0}, {"MessageBeep", 75, 1},
    // Painting
    {"InvalidateRect", 76, 3}, {"ValidateRect", 77, 2}, {"GetUpdateRect", 78, 3}, {"UpdateWindow", 79, 1},
    {"BeginPaint", 80, 2}, {"EndPaint", 81, 2}, {"GetDC", 82, 1}, {"ReleaseDC", 83, 2},
    {"GetSysColor", 84, 1}, {"GetSysColorBrush", 85, 1}, {"FillRect", 86, 3}, {"DrawTextA", 87, 5},
    {"DrawEdge", 88, 4}, {"DrawFocusRect", 89, 2}, {"DrawFrameControl", 90, 4},
    // Resources
    {"LoadIconA", 91, 2}, {"LoadCursorA", 92, 2}, {"PlatformRegisterResourceIcon", 93, 5},
    {"PlatformIconPixels", 94, 4},
    // Message boxes
    {"MessageBoxA", 95, 4}, {"PlatformTestSetMessageBoxResponder", 96, 2},
    // Displays
    {"PlatformDeliverRawInput", 97, 1}, {"PlatformMessageClock", 98, 0},
    {"PlatformRegisterDisplayBackend", 99, 2}, {"PlatformDisplayName", 100, 0},
    // Test hooks
    {"PlatformTestResetWindowSystem", 101, 0}, {"PlatformTestPumpMessages", 102, 0},
    {"PlatformTestWaitIdle", 103, 1}, {"PlatformTestSetScreenSize", 104, 2},
    {"PlatformTestInjectInput", 105, 1}, {"PlatformTestMouseMove", 106, 2},
    {"PlatformTestMouseButton", 107, 4}, {"PlatformTestClick", 108, 2}, {"PlatformTestClickWindow", 109, 3},
    {"PlatformTestWheel", 110, 3}, {"PlatformTestKey", 111, 2}, {"PlatformTestPressKey", 112, 1},
    {"PlatformTestTypeText", 113, 1}, {"PlatformTestRequestClose", 114, 1},
    {"PlatformTestWindowTextRuns", 115, 3}, {"PlatformTestWindowShownText", 116, 3},
    {"PlatformTestWindowCheckMark", 117, 1}, {"PlatformTestWindowPaintCount", 118, 1},
    {"PlatformTestNativeWindow", 119, 2},
    // Dialogs
    {"PlatformCreateDialog", 120, 6}, {"PlatformRunModalDialog", 121, 1}, {"EndDialog", 122, 2},
    {"IsDialogMessageA", 123, 2}, {"GetNextDlgTabItem", 124, 3},
    // Dialog test hooks
    {"PlatformTestWaitForDialog", 125, 2}, {"PlatformTestWaitForWindowGone", 126, 2},
    {"PlatformTestFindDialogControl", 127, 3}, {"PlatformTestClickControl", 128, 1},
    {"PlatformTestPressDialogButton", 129, 2}, {"PlatformTestFindListItem", 130, 2},
    {"PlatformTestClickListItem", 131, 3}, {"SetDlgItemTextA", 132, 3}, {"GetDlgItemTextA", 133, 4},
    {"SendDlgItemMessageA", 134, 5});
