// GDI objects: fonts, brushes, pens and bitmaps, known by handle.
//
// Every object lives in one table per process; a handle is never reused
// while the process runs, so a stale handle is simply unknown. Stock objects
// exist from the start and DeleteObject leaves them alone (and says it
// succeeded, as Windows does).
#pragma once

#include "gdi32/geometry.h"
#include "win/types.h"

using HGDIOBJ = void*;
struct HFONT__;
using HFONT = HFONT__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HPEN__;
using HPEN = HPEN__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HDC__;
using HDC = HDC__*;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;

// Object types (GetObjectType).
constexpr DWORD OBJ_PEN = 1;
constexpr DWORD OBJ_BRUSH = 2;
constexpr DWORD OBJ_DC = 3;
constexpr DWORD OBJ_FONT = 6;
constexpr DWORD OBJ_BITMAP = 7;

// Font weights and character sets.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD DEFAULT_CHARSET = 1;
constexpr DWORD GB2312_CHARSET = 134;
constexpr int LF_FACESIZE = 32;

// A font by its logical description; the face is code page 936 text and is
// cut to LF_FACESIZE - 1 bytes. A positive height is the cell height, a
// negative one the character height, 0 the default; the display picks the
// nearest real font when it draws.
PLATFORM_API HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                               DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                               DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                               LPCSTR face);
PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
// Only 32 bits per pixel and one plane: each pixel a DWORD 0x00RRGGBB, rows
// from the top. Null bits give a black bitmap. Other formats fail (null).
PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
PLATFORM_API HGDIOBJ GetStockObject(int which);
// FALSE for null or an unknown handle; TRUE for a stock object, which stays.
PLATFORM_API BOOL DeleteObject(HGDIOBJ object);
// 0 for an unknown handle.
PLATFORM_API DWORD GetObjectType(HGDIOBJ object);
