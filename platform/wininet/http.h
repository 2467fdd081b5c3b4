// HTTP requests of the Internet client library.
//
// HttpOpenRequestA describes a request on a connection; HttpSendRequestA
// sends it and returns once the final response's head arrived (any status,
// 404 included; redirects are followed unless INTERNET_FLAG_NO_AUTO_REDIRECT,
// never from https to http). The body is then read with InternetReadFile,
// which hands over what has arrived so far: it does not wait for the whole
// body, nor for its buffer to fill.
//
// On the wire: "VERB path VERSION" where the path's bytes go as given (code
// page 936 bytes included), only blanks and control bytes percent-encoded;
// Host; User-Agent (the session's agent); one Accept line made from the
// accept types; Referer when given; "Pragma: no-cache" and
// "Cache-Control: no-cache" for INTERNET_FLAG_RELOAD; then the extra header
// lines of HttpSendRequestA. Header text is split into lines at CR LF or
// LF, empty lines are dropped, and a line whose name was already set
// replaces that header's value in place, so "Accept: */*" given both as an
// accept type and as an extra line goes out once.
#pragma once

#include "wininet/internet.h"

constexpr DWORD HTTP_QUERY_CONTENT_TYPE = 1;
constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr DWORD HTTP_QUERY_DATE = 9;
constexpr DWORD HTTP_QUERY_LAST_MODIFIED = 11;
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_STATUS_TEXT = 20;
constexpr DWORD HTTP_QUERY_RAW_HEADERS = 21;
constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;
constexpr DWORD HTTP_QUERY_CONTENT_ENCODING = 29;
constexpr DWORD HTTP_QUERY_LOCATION = 33;
constexpr DWORD HTTP_QUERY_SERVER = 37;
constexpr DWORD HTTP_QUERY_SET_COOKIE = 43;
constexpr DWORD HTTP_QUERY_CUSTOM = 65535;
constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;
constexpr DWORD HTTP_QUERY_FLAG_REQUEST_HEADERS = 0x80000000;

// `verb` null: "GET"; `version` null: "HTTP/1.1"; `objectPath` null or
// empty: "/". `acceptTypes` is a null-terminated array of media types; an
// entry may also be a whole "Accept: type" line.
PLATFORM_API HINTERNET HttpOpenRequestA(HINTERNET connection, LPCSTR verb, LPCSTR objectPath, LPCSTR version,
                                        LPCSTR referrer, LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context);

// `headersLength` of 0 or 0xFFFFFFFF: the header text is NUL-terminated.
// The optional data is the request body. FALSE when the request could not
// be sent or no response head came (ERROR_INTERNET_CANNOT_CONNECT,
// ERROR_INTERNET_TIMEOUT, ...). May be called again to send the request anew.
PLATFORM_API BOOL HttpSendRequestA(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID optional,
                                   DWORD optionalLength);

// A response header as text (length without the terminator in *length), or
// as a DWORD with HTTP_QUERY_FLAG_NUMBER. *index (when given) picks among
// headers of the same name and is advanced. FALSE with
// ERROR_HTTP_HEADER_NOT_FOUND when there is no such header, or
// ERROR_INSUFFICIENT_BUFFER and the needed size (terminator included) in
// *length when the buffer is too small.
PLATFORM_API BOOL HttpQueryInfoA(HINTERNET request, DWORD info, LPVOID buffer, DWORD* length, DWORD* index);

// Up to `toRead` body bytes as they arrive; TRUE with *read = 0 at the end
// of the body. When the connection broke, the bytes that arrived are still
// handed over first, then FALSE (ERROR_INTERNET_CONNECTION_ABORTED).
PLATFORM_API BOOL InternetReadFile(HINTERNET request, LPVOID buffer, DWORD toRead, DWORD* read);
