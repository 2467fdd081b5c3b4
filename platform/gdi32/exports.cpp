// Every function libgdi32.so exports, with its ordinal and its argument
// count. Ordinals are never renumbered; new functions take the next one.
#include "win/exports.h"

PLATFORM_EXPORT_TABLE(
    // Objects
    {"CreateFontA", 1, 14}, {"CreateSolidBrush", 2, 1}, {"CreateBitmap", 3, 5}, {"GetStockObject", 4, 1},
    {"DeleteObject", 5, 1}, {"GetObjectType", 6, 1},
    // Device contexts
    {"SelectObject", 7, 2}, {"SetTextColor", 8, 2}, {"GetTextColor", 9, 1}, {"SetBkColor", 10, 2},
    {"GetBkColor", 11, 1}, {"SetBkMode", 12, 2}, {"GetBkMode", 13, 1}, {"GetTextExtentPoint32A", 14, 4},
    {"TextOutA", 15, 5}, {"DeleteDC", 16, 1},
    // The window system's side of painting
    {"PlatformGdiCreatePainterDC", 17, 1}, {"PlatformGdiPainterOf", 18, 1}, {"PlatformGdiGetDcState", 19, 2},
    {"PlatformGdiGetFont", 20, 2}, {"PlatformGdiGetBrushColor", 21, 2}, {"PlatformGdiGetBitmapPixels", 22, 4},
    {"PlatformGdiCreatePermanentBrush", 23, 1});
