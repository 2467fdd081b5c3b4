// Message boxes.
#pragma once

#include "win/types.h"

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// What a box showed, for tests: the texts are the caller's code page 936 bytes.
struct PlatformMessageBox {
  HWND owner;
  LPCSTR text;
  LPCSTR caption;
  UINT type;
};

// A responder answers every box in place of a user; it returns the button
// identifier (IDOK, IDCANCEL, ...), or 0 for a box that could not be shown.
// Null removes it. Without a responder a box without a display is printed
// to standard error and answered with IDOK.
using PlatformMessageBoxResponder = int (*)(const PlatformMessageBox* box, void* context);
PLATFORM_API void PlatformTestSetMessageBoxResponder(PlatformMessageBoxResponder responder, void* context);
