// URL text operations of the Internet client library.
//
// Both work on the URL's bytes as given (code page 936 bytes stay as they
// are) and report a too small caller buffer as FALSE with
// ERROR_INSUFFICIENT_BUFFER.
#pragma once

#include "wininet/internet.h"

using INTERNET_SCHEME = INT;
constexpr INTERNET_SCHEME INTERNET_SCHEME_UNKNOWN = -1;
constexpr INTERNET_SCHEME INTERNET_SCHEME_DEFAULT = 0;
constexpr INTERNET_SCHEME INTERNET_SCHEME_FTP = 1;
constexpr INTERNET_SCHEME INTERNET_SCHEME_GOPHER = 2;
constexpr INTERNET_SCHEME INTERNET_SCHEME_HTTP = 3;
constexpr INTERNET_SCHEME INTERNET_SCHEME_HTTPS = 4;
constexpr INTERNET_SCHEME INTERNET_SCHEME_FILE = 5;
constexpr INTERNET_SCHEME INTERNET_SCHEME_NEWS = 6;
constexpr INTERNET_SCHEME INTERNET_SCHEME_MAILTO = 7;

// For each component: a buffer and its size in bytes gets a terminated
// copy (the length then excludes the terminator); a null pointer with a
// non-zero length gets a pointer into the URL and the component's length;
// a zero length means the component is not wanted. When the extra info
// (query and fragment) is not wanted, it stays part of the path.
struct URL_COMPONENTSA {
  DWORD dwStructSize;
  LPSTR lpszScheme;
  DWORD dwSchemeLength;
  INTERNET_SCHEME nScheme;
  LPSTR lpszHostName;
  DWORD dwHostNameLength;
  INTERNET_PORT nPort;
  LPSTR lpszUserName;
  DWORD dwUserNameLength;
  LPSTR lpszPassword;
  DWORD dwPasswordLength;
  LPSTR lpszUrlPath;
  DWORD dwUrlPathLength;
  LPSTR lpszExtraInfo;
  DWORD dwExtraInfoLength;
};

constexpr DWORD ICU_NO_ENCODE = 0x20000000;
constexpr DWORD ICU_DECODE = 0x10000000;
constexpr DWORD ICU_NO_META = 0x08000000;
constexpr DWORD ICU_ENCODE_SPACES_ONLY = 0x04000000;
constexpr DWORD ICU_BROWSER_MODE = 0x02000000;
constexpr DWORD ICU_ESCAPE = 0x80000000;

// Splits a URL (`length` 0: NUL-terminated) into scheme (number and text),
// host, port (the scheme's default when none is given: ftp 21, http 80,
// https 443, others 0), user name, password, path and extra info. Flags
// other than 0 are not offered (ERROR_INVALID_PARAMETER). A URL without a
// scheme fails with ERROR_INTERNET_UNRECOGNIZED_SCHEME, a bad port or an
// http/https/ftp URL without "//" with ERROR_INTERNET_INVALID_URL.
PLATFORM_API BOOL InternetCrackUrlA(LPCSTR url, DWORD length, DWORD flags, URL_COMPONENTSA* components);

// Canonical form: an empty path after the host becomes "/", and "." and
// ".." path segments are resolved (not with ICU_NO_META). Unless
// ICU_NO_ENCODE, unsafe bytes of path, query and fragment (blanks, control
// bytes, DEL, bytes of 0x80 or more, '"', '<', '>') are percent-encoded;
// with ICU_ENCODE_SPACES_ONLY only blanks; ICU_DECODE first decodes %XX.
// With ICU_NO_ENCODE blanks and code page 936 bytes stay as they are.
// *length: the buffer's size in; the length without the terminator out;
// when too small, the needed size with the terminator.
PLATFORM_API BOOL InternetCanonicalizeUrlA(LPCSTR url, LPSTR buffer, DWORD* length, DWORD flags);
