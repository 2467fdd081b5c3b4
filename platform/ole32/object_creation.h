// Finding classes and creating component objects.
//
// A class is found by its CLSID, which a ProgID names (CLSIDFromProgID):
// first among the class objects registered at run time, then among the
// server entries, whose library is loaded on first use and asked through its
// DllGetClassObject. The built-in server table holds
//   "WinHttp.WinHttpRequest.5.1" -> {2087C2F4-2CEF-4953-A8AB-66779B670495}
//   -> libwinhttp.so (looked for next to libole32.so),
// so a program linking only ole32 and oleaut32 can create the request
// object. Every object is served in-process, whatever server context the
// caller asks for.
#pragma once

#include "ole32/unknown.h"

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

constexpr DWORD REGCLS_SINGLEUSE = 0;
constexpr DWORD REGCLS_MULTIPLEUSE = 1;

// The CLSID registered under a ProgID, letter case ignored; CO_E_CLASSSTRING
// for an unknown one.
PLATFORM_API HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);

// Creates an instance of the class as the interface `iid`.
// - CO_E_NOTINITIALIZED when the calling thread has not called CoInitialize;
// - E_INVALIDARG for a context of 0 or with unknown bits;
// - REGDB_E_CLASSNOTREG for an unknown class, or a context that asks for
//   neither an in-process nor a local server;
// - CLASS_E_NOAGGREGATION (from the class) when `outer` is given.
// On failure *object is null.
PLATFORM_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                                      void** object);

// The class object of a class (usually as IClassFactory), by the same rules.
PLATFORM_API HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, LPVOID serverInfo, REFIID iid,
                                      void** object);

// Makes `object` the class object of `clsid` for the whole process until
// revoked; it is found before the class's server library. Takes a reference.
PLATFORM_API HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* object, DWORD context, DWORD flags,
                                           DWORD* cookie);
PLATFORM_API HRESULT CoRevokeClassObject(DWORD cookie);

// Puts an object into its running state: every object of this layer runs
// from its creation, so any object gives S_OK; null gives E_INVALIDARG.
PLATFORM_API HRESULT OleRun(IUnknown* object);

// Test hooks on the process-wide class table.
// Adds or replaces the server entry of a class (ProgID, CLSID, library file).
PLATFORM_API HRESULT PlatformComRegisterServer(LPCOLESTR progId, REFCLSID clsid, LPCSTR module);
// Removes a class entirely (server entry and registered class objects):
// its ProgID is then unknown and creating it gives REGDB_E_CLASSNOTREG.
PLATFORM_API HRESULT PlatformComUnregisterClass(REFCLSID clsid);
// Back to the built-in table; registered class objects are revoked.
PLATFORM_API void PlatformComResetClasses();
