// The HTTP request object "WinHttp.WinHttpRequest.5.1" (libwinhttp.so).
//
// The object is created through the component runtime (CoCreateInstance
// with the CLSID that CLSIDFromProgID gives for the ProgID) and used through
// IDispatch by name; its members are listed in winhttp/winhttp_request.h.
// The library serves the class through DllGetClassObject, which ole32 calls
// after loading it.
#pragma once

#include "ole32/unknown.h"

inline constexpr CLSID CLSID_WinHttpRequest = {
    0x2087c2f4, 0x2cef, 0x4953, {0xa8, 0xab, 0x66, 0x77, 0x9b, 0x67, 0x04, 0x95}};

// "Option" indices.
constexpr LONG WinHttpRequestOption_UserAgentString = 0;
constexpr LONG WinHttpRequestOption_URL = 1;
constexpr LONG WinHttpRequestOption_EnableRedirects = 6;
constexpr LONG WinHttpRequestOption_EnableHttpsToHttpRedirects = 12;
constexpr LONG WinHttpRequestOption_MaxAutomaticRedirects = 14;

// "SetProxy" settings.
constexpr LONG HTTPREQUEST_PROXYSETTING_DEFAULT = 0;
constexpr LONG HTTPREQUEST_PROXYSETTING_PRECONFIG = 0;
constexpr LONG HTTPREQUEST_PROXYSETTING_DIRECT = 1;
constexpr LONG HTTPREQUEST_PROXYSETTING_PROXY = 2;

// "SetCredentials" flags.
constexpr LONG HTTPREQUEST_SETCREDENTIALS_FOR_SERVER = 0;
constexpr LONG HTTPREQUEST_SETCREDENTIALS_FOR_PROXY = 1;

// Failures of the object's operations, as HRESULTs of the 12xxx errors.
constexpr HRESULT WinHttpError(DWORD code) { return static_cast<HRESULT>(0x80070000u | code); }
constexpr HRESULT WINHTTP_E_TIMEOUT = WinHttpError(12002);             // 0x80072EE2
constexpr HRESULT WINHTTP_E_INTERNAL_ERROR = WinHttpError(12004);      // 0x80072EE4
constexpr HRESULT WINHTTP_E_INVALID_URL = WinHttpError(12005);         // 0x80072EE5
constexpr HRESULT WINHTTP_E_UNRECOGNIZED_SCHEME = WinHttpError(12006); // 0x80072EE6
constexpr HRESULT WINHTTP_E_NAME_NOT_RESOLVED = WinHttpError(12007);   // 0x80072EE7
constexpr HRESULT WINHTTP_E_INVALID_OPTION = WinHttpError(12009);      // 0x80072EE9
constexpr HRESULT WINHTTP_E_CANNOT_CONNECT = WinHttpError(12029);      // 0x80072EFD
constexpr HRESULT WINHTTP_E_CONNECTION_ERROR = WinHttpError(12030);    // 0x80072EFE
constexpr HRESULT WINHTTP_E_CANNOT_CALL_BEFORE_OPEN = WinHttpError(12100);
constexpr HRESULT WINHTTP_E_CANNOT_CALL_BEFORE_SEND = WinHttpError(12101);
constexpr HRESULT WINHTTP_E_CANNOT_CALL_AFTER_SEND = WinHttpError(12102);
constexpr HRESULT WINHTTP_E_HEADER_NOT_FOUND = WinHttpError(12150);
constexpr HRESULT WINHTTP_E_INVALID_SERVER_RESPONSE = WinHttpError(12152);
constexpr HRESULT WINHTTP_E_REDIRECT_FAILED = WinHttpError(12156);
constexpr HRESULT WINHTTP_E_SECURE_FAILURE = WinHttpError(12175);

// The class object of CLSID_WinHttpRequest (an IClassFactory);
// CLASS_E_CLASSNOTAVAILABLE for any other class.
PLATFORM_API HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
// Always S_FALSE: the library stays loaded.
PLATFORM_API HRESULT DllCanUnloadNow();
