// Globally unique identifiers: class identifiers (CLSID) and interface
// identifiers (IID), with the Windows memory layout (a 32-bit, two 16-bit
// and eight 8-bit fields), and their "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
// text form.
#pragma once

#include "ole32/hresult.h"

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
using CLSID = GUID;
using IID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const CLSID&;
using REFIID = const IID&;
using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

constexpr bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
    return false;
  for (int i = 0; i < 8; i++) {
    if (a.Data4[i] != b.Data4[i])
      return false;
  }
  return true;
}

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;

// Reads the braced text form, hex digits in either case. Anything else
// gives CO_E_CLASSSTRING and leaves *clsid at CLSID_NULL.
PLATFORM_API HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);

// Writes the braced text form in upper case with its terminator (39 units).
// Returns the units written including the terminator, or 0 when the buffer
// is smaller than that.
PLATFORM_API INT StringFromGUID2(REFGUID guid, LPOLESTR buffer, INT size);
