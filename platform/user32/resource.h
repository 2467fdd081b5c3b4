// Icons and cursors, and the program's icon resources.
//
// A program has no resource section here: it registers its icons by
// identifier with PlatformRegisterResourceIcon (for instance from a static
// initialiser or at start-up), and LoadIconA finds them by module instance
// and identifier. A missing resource gives null. Handles are shared: loading
// the same resource twice gives the same handle, and there is nothing to
// release.
#pragma once

#include "win/types.h"

struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;

// An identifier in place of a resource name.
inline LPCSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(id)); }
constexpr bool IS_INTRESOURCE(LPCSTR name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

// System cursors and icons (a null instance).
constexpr WORD IDC_ARROW = 32512;
constexpr WORD IDC_IBEAM = 32513;
constexpr WORD IDC_WAIT = 32514;
constexpr WORD IDC_CROSS = 32515;
constexpr WORD IDC_UPARROW = 32516;
constexpr WORD IDC_SIZENWSE = 32642;
constexpr WORD IDC_SIZENESW = 32643;
constexpr WORD IDC_SIZEWE = 32644;
constexpr WORD IDC_SIZENS = 32645;
constexpr WORD IDC_SIZEALL = 32646;
constexpr WORD IDC_NO = 32648;
constexpr WORD IDC_HAND = 32649;
constexpr WORD IDC_APPSTARTING = 32650;
constexpr WORD IDI_APPLICATION = 32512;
constexpr WORD IDI_HAND = 32513;
constexpr WORD IDI_QUESTION = 32514;
constexpr WORD IDI_EXCLAMATION = 32515;
constexpr WORD IDI_ASTERISK = 32516;
constexpr WORD IDI_WINLOGO = 32517;

// With a null instance: the system icon or cursor of that identifier. With
// a module instance: the resource the program registered under it; names
// that are not identifiers find nothing.
PLATFORM_API HICON LoadIconA(HINSTANCE instance, LPCSTR name);
PLATFORM_API HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);

// Registers (or replaces) the icon resource `id` of the module `instance`
// (what GetModuleHandleA gives for it): `argb` holds width * height pixels
// 0xAARRGGBB, rows from the top, and is copied. FALSE for a bad size or null
// pixels.
PLATFORM_API BOOL PlatformRegisterResourceIcon(HINSTANCE instance, WORD id, const uint32_t* argb, int width,
                                               int height);
// The pixels of an icon, for a display: FALSE for a system icon or cursor
// (which has none: the display draws its own) or an unknown handle.
PLATFORM_API BOOL PlatformIconPixels(HICON icon, const uint32_t** argb, int* width, int* height);
