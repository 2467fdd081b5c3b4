// Component values (VARIANT).
//
// A VARIANT is a type code (`vt`) and one value of that type, laid out as on
// 64-bit Windows (24 bytes: the code, three reserved words, a 16-byte
// union). A VARIANT owns what its value points at (a BSTR, a SAFEARRAY, an
// interface reference) unless the VT_BYREF mark says the value is a pointer
// into storage owned elsewhere; VariantClear releases what it owns.
#pragma once

#include "oleaut32/bstr.h"
#include "oleaut32/var_type.h"

struct SAFEARRAY;
class IUnknown;
class IDispatch;

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    ULONGLONG ullVal;
    LONG lVal;
    ULONG ulVal;
    INT intVal;
    UINT uintVal;
    BYTE bVal;
    char cVal;
    SHORT iVal;
    USHORT uiVal;
    float fltVal;
    double dblVal;
    DATE date;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    BYTE* pbVal;
    SHORT* piVal;
    LONG* plVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    BSTR* pbstrVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
    void* byref;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } record;
  };
};
using VARIANTARG = VARIANT;

static_assert(sizeof(VARIANT) == 24, "VARIANT keeps the 64-bit Windows layout");

// VariantChangeType flags.
constexpr USHORT VARIANT_NOVALUEPROP = 0x1;
constexpr USHORT VARIANT_ALPHABOOL = 0x2;

// Sets the type to VT_EMPTY; the old content is not looked at.
PLATFORM_API void VariantInit(VARIANTARG* value);
// Releases what the value owns and leaves it VT_EMPTY.
// DISP_E_ARRAYISLOCKED (value unchanged) for an array that is still locked.
PLATFORM_API HRESULT VariantClear(VARIANTARG* value);
// Clears `dest`, then makes it a deep copy of `source` (a by-reference
// source is copied as the reference).
PLATFORM_API HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* source);
// Like VariantCopy, but a by-reference source gives a copy of the value it
// points at.
PLATFORM_API HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* source);
// Converts `source` (followed through by-reference marks) to type `type`
// into `dest`, which may be `source` itself. Supported: between the integer
// types, VT_BOOL, VT_R4/VT_R8, VT_BSTR (decimal text; "True"/"False" for
// VT_BOOL with VARIANT_ALPHABOOL, else "-1"/"0") and VT_EMPTY as source; a
// VT_BSTR to VT_ARRAY|VT_UI1 gives the string's bytes and the reverse packs
// the bytes into a BSTR. DISP_E_TYPEMISMATCH when no conversion exists,
// DISP_E_OVERFLOW when the value does not fit; `dest` is then unchanged.
PLATFORM_API HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* source, USHORT flags,
                                       VARTYPE type);
