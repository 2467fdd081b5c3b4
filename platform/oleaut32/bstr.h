// Length-prefixed component strings (BSTR).
//
// A BSTR points at UTF-16 text that is preceded by its length in bytes (a
// 32-bit value in the 4 bytes before the first character) and followed by a
// 16-bit terminator, as on Windows. The length counts, so a BSTR may hold
// zero units inside; a null BSTR stands for the empty string everywhere.
// Only the functions below allocate and free them.
#pragma once

#include "ole32/guid.h"

using BSTR = OLECHAR*;

// A copy of a terminated text; null gives null.
PLATFORM_API BSTR SysAllocString(LPCOLESTR text);
// `length` units copied from `text`, or zeroed when `text` is null.
PLATFORM_API BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
// `length` bytes copied from `bytes` (zeroed when null); used to carry byte
// strings in a BSTR. An odd length leaves half a unit before the terminator.
PLATFORM_API BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length);
PLATFORM_API void SysFreeString(BSTR text);
// Length in units (bytes / 2, rounded down); 0 for null.
PLATFORM_API UINT SysStringLen(BSTR text);
PLATFORM_API UINT SysStringByteLen(BSTR text);
