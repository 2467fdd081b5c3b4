// Self-describing arrays (SAFEARRAY).
//
// The descriptor keeps the Windows fields: dimension count, feature flags,
// element size, lock count, data pointer and one bound per dimension, stored
// from the last dimension to the first as Windows does (the functions below
// number dimensions from 1 in declaration order). The element type is kept
// with the descriptor (FADF_HAVEVARTYPE). An array owns its elements: BSTR,
// VARIANT and interface elements are released with it. A locked array
// (cLocks > 0, e.g. between Access and Unaccess) cannot be destroyed.
#pragma once

#include "oleaut32/variant.h"

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  LPVOID pvData;
  SAFEARRAYBOUND rgsabound[1];
};

constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
constexpr USHORT FADF_BSTR = 0x0100;
constexpr USHORT FADF_UNKNOWN = 0x0200;
constexpr USHORT FADF_DISPATCH = 0x0400;
constexpr USHORT FADF_VARIANT = 0x0800;

// A zero-filled array of `dims` dimensions (bounds in declaration order), or
// null for an element type without a fixed size, no dimensions or no memory.
PLATFORM_API SAFEARRAY* SafeArrayCreate(VARTYPE type, UINT dims, SAFEARRAYBOUND* bounds);
PLATFORM_API SAFEARRAY* SafeArrayCreateVector(VARTYPE type, LONG lowerBound, ULONG count);
// S_OK for null as well.
PLATFORM_API HRESULT SafeArrayDestroy(SAFEARRAY* array);
// A deep copy (strings, variants and references copied).
PLATFORM_API HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy);
PLATFORM_API HRESULT SafeArrayLock(SAFEARRAY* array);
PLATFORM_API HRESULT SafeArrayUnlock(SAFEARRAY* array);
// Locks the array and gives its data; undone by SafeArrayUnaccessData.
PLATFORM_API HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
PLATFORM_API HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
// DISP_E_BADINDEX for a dimension outside 1..cDims.
PLATFORM_API HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
PLATFORM_API HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);
PLATFORM_API UINT SafeArrayGetDim(SAFEARRAY* array);
PLATFORM_API UINT SafeArrayGetElemsize(SAFEARRAY* array);
PLATFORM_API HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* type);
