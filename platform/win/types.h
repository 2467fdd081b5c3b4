// The basic types and calling conventions of the platform layer.
//
// This is our own Linux stand-in for the subset of the Windows API that the
// system calls. Every exported function is extern "C" under its Windows name,
// so that binding by name can find it with dlsym in lib<module>.so.
#pragma once

#include <cstddef>
#include <cstdint>

#define PLATFORM_API extern "C" __attribute__((visibility("default")))

using BOOL = int32_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using UINT = uint32_t;
using INT = int32_t;
using ULONG = uint32_t;
using LONG_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using SIZE_T = size_t;
using HRESULT = int32_t;
// A UTF-16 code unit, as on Windows.
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;

using HANDLE = void*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HWND__;
using HWND = HWND__*;

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
