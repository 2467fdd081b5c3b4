// Result codes of the component runtime and of the modules built on it.
//
// An HRESULT is negative for a failure and 0 or positive for a success; the
// codes below are the ones this layer returns or checks. Win32 error numbers
// travel inside an HRESULT as 0x8007xxxx (facility 7), the Internet client's
// 12xxx numbers as 0x80072xxx.
#pragma once

#include "win/types.h"

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

constexpr HRESULT MakeFailure(uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT E_NOTIMPL = MakeFailure(0x80004001);
constexpr HRESULT E_NOINTERFACE = MakeFailure(0x80004002);
constexpr HRESULT E_POINTER = MakeFailure(0x80004003);
constexpr HRESULT E_FAIL = MakeFailure(0x80004005);
constexpr HRESULT E_UNEXPECTED = MakeFailure(0x8000FFFF);
constexpr HRESULT E_OUTOFMEMORY = MakeFailure(0x8007000E);
constexpr HRESULT E_INVALIDARG = MakeFailure(0x80070057);

constexpr HRESULT CLASS_E_NOAGGREGATION = MakeFailure(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeFailure(0x80040111);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeFailure(0x80040154);
constexpr HRESULT CO_E_NOTINITIALIZED = MakeFailure(0x800401F0);
constexpr HRESULT CO_E_CLASSSTRING = MakeFailure(0x800401F3);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeFailure(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = MakeFailure(0x800401F9);
constexpr HRESULT CO_E_OBJNOTREG = MakeFailure(0x800401FB);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// A Win32 error number as an HRESULT; 0 stays S_OK.
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error) {
  return error == 0 ? S_OK : static_cast<HRESULT>((error & 0xFFFF) | 0x80070000u);
}
