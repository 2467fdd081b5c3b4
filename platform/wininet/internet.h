// The Internet client library (libwininet.so): sessions, connections and
// their options.
//
// Handles form a tree: InternetOpenA gives a session (root) handle,
// InternetConnectA a connection under it, HttpOpenRequestA (wininet/http.h)
// a request under that. Closing a handle closes everything under it.
// Failures return null or FALSE and leave the reason in the thread's last
// error (kernel32 GetLastError).
//
// Proxy access types: 0 the system's settings (on Linux the environment
// variables http_proxy, https_proxy, all_proxy and no_proxy; the upper-case
// HTTP_PROXY is never trusted), 1 direct, 3 the named proxy. Time-outs:
// connect 60 s; send and receive 30 s, each a limit on silence, not on the
// whole exchange. A handle takes its parent's settings when it is made.
#pragma once

#include "win/types.h"

using HINTERNET = void*;
using INTERNET_PORT = WORD;
using DWORD_PTR = uintptr_t;

constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY = 4;

constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0;
constexpr INTERNET_PORT INTERNET_DEFAULT_FTP_PORT = 21;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

constexpr DWORD INTERNET_SERVICE_FTP = 1;
constexpr DWORD INTERNET_SERVICE_GOPHER = 2;
constexpr DWORD INTERNET_SERVICE_HTTP = 3;

constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr DWORD INTERNET_FLAG_ASYNC = 0x10000000;
constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;

// Options of InternetSetOptionA.
constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2; // DWORD milliseconds
constexpr DWORD INTERNET_OPTION_SEND_TIMEOUT = 5;
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
constexpr DWORD INTERNET_OPTION_PROXY = 38;          // INTERNET_PROXY_INFO, session handles
constexpr DWORD INTERNET_OPTION_PROXY_USERNAME = 43; // text, connection or request handles
constexpr DWORD INTERNET_OPTION_PROXY_PASSWORD = 44;

// The proxy record of option 38. On this 64-bit build it is 24 bytes; a
// length of 12 (its size on 32-bit Windows) is accepted as well.
struct INTERNET_PROXY_INFO {
  DWORD dwAccessType;
  LPCSTR lpszProxy;
  LPCSTR lpszProxyBypass;
};

// Errors left in the last error.
constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_INVALID_OPTION = 12009;
constexpr DWORD ERROR_INTERNET_BAD_OPTION_LENGTH = 12010;
constexpr DWORD ERROR_INTERNET_INVALID_OPERATION = 12016;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_INVALID_HEADER = 12153;
constexpr DWORD ERROR_HTTP_INVALID_QUERY_REQUEST = 12154;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;
constexpr DWORD ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

// A session: `agent` becomes every request's User-Agent. The proxy text
// (access type 3) is "host:port" or a list of "http=host:port" entries; the
// bypass list holds host names separated by ";" or blanks. Flags: only
// synchronous use (INTERNET_FLAG_ASYNC is refused).
PLATFORM_API HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR bypass,
                                     DWORD flags);

// A connection to host and port (0: the scheme's default) for the HTTP
// service; the other services are not offered (ERROR_INTERNET_INVALID_OPERATION).
// A user name is sent as basic credentials with every request.
PLATFORM_API HINTERNET InternetConnectA(HINTERNET session, LPCSTR host, INTERNET_PORT port, LPCSTR user,
                                        LPCSTR password, DWORD service, DWORD flags, DWORD_PTR context);

// Options above; texts are read up to `length` bytes or their terminator.
PLATFORM_API BOOL InternetSetOptionA(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length);

PLATFORM_API BOOL InternetCloseHandle(HINTERNET handle);
