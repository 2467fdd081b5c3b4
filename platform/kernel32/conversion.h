// Code page conversion: code page 936 (GBK, the system's ANSI code page)
// and UTF-8 to and from UTF-16.
//
// The calls behave like their Windows namesakes: a capacity of 0 measures
// (the count needed, nothing written); a length of -1 reads up to and
// including the terminator, which is then counted and written; a result of 0
// is a failure whose reason GetLastError gives (ERROR_INSUFFICIENT_BUFFER,
// ERROR_INVALID_PARAMETER, ERROR_INVALID_FLAGS, ERROR_NO_UNICODE_TRANSLATION).
// Nothing is ever written past the count returned.
//
// - Invalid UTF-8 becomes U+FFFD, one per maximal invalid subpart.
// - In code page 936 a lead byte without a valid trail byte becomes U+30FB.
// - A character code page 936 lacks becomes the default character "?"
//   (or the one given), once per UTF-16 unit; best-fit mappings apply unless
//   WC_NO_BEST_FIT_CHARS is given. A lone surrogate becomes EF BF BD in UTF-8.
// - WC_COMPOSITECHECK composes a base letter and its combining marks into
//   the precomposed character before converting; without it each unit
//   converts on its own.
#pragma once

#include "win/types.h"

#include <string>
#include <string_view>

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_THREAD_ACP = 3;
constexpr UINT CP_GBK = 936;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x00000001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;

constexpr DWORD WC_SEPCHARS = 0x00000020;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;
constexpr DWORD WC_COMPOSITECHECK = 0x00000200;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;

PLATFORM_API int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR in, int inLength, LPWSTR out,
                                     int outUnits);
PLATFORM_API int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR in, int inUnits, LPSTR out,
                                     int outBytes, LPCSTR defaultChar, BOOL* usedDefault);

// Code page 936 to UTF-8 and back, for the platform's edges (file names, the
// display). Same conventions as above: outBytes 0 measures, inLength -1
// includes the terminator; 0 for a failure or an empty input.
PLATFORM_API int PlatformCp936ToUtf8(LPCSTR in, int inLength, LPSTR out, int outBytes);
PLATFORM_API int PlatformUtf8ToCp936(LPCSTR in, int inLength, LPSTR out, int outBytes);

// C++ conveniences over the calls above. They are inline, so nothing of the
// standard library crosses a library boundary.
namespace platform {

inline std::u16string ToUtf16(UINT codePage, std::string_view text) {
  if (text.empty())
    return {};
  int length = static_cast<int>(text.size());
  int units = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  std::u16string out(units > 0 ? static_cast<size_t>(units) : 0, u'\0');
  if (units > 0)
    MultiByteToWideChar(codePage, 0, text.data(), length, out.data(), units);
  return out;
}

inline std::string FromUtf16(UINT codePage, std::u16string_view text) {
  if (text.empty())
    return {};
  int length = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
  if (bytes > 0)
    WideCharToMultiByte(codePage, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
  return out;
}

inline std::string Cp936ToUtf8(std::string_view text) {
  if (text.empty())
    return {};
  int length = static_cast<int>(text.size());
  int bytes = PlatformCp936ToUtf8(text.data(), length, nullptr, 0);
  std::string out(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
  if (bytes > 0)
    PlatformCp936ToUtf8(text.data(), length, out.data(), bytes);
  return out;
}

inline std::string Utf8ToCp936(std::string_view text) {
  if (text.empty())
    return {};
  int length = static_cast<int>(text.size());
  int bytes = PlatformUtf8ToCp936(text.data(), length, nullptr, 0);
  std::string out(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
  if (bytes > 0)
    PlatformUtf8ToCp936(text.data(), length, out.data(), bytes);
  return out;
}

} // namespace platform
