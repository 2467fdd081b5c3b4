// Windows paths of the system to file system paths.
//
// The system writes paths as code page 936 texts with "\\" (or "/")
// between their parts; the file system takes UTF-8 with "/". A 0x5C byte is
// a separator only when it is not the trail byte of a two-byte character.
#pragma once

#include "win/types.h"

#include <string>
#include <string_view>

// A code page 936 path as the file system's UTF-8 path. outBytes 0
// measures; pathLength -1 includes the terminator; 0 for a failure or an
// empty path.
PLATFORM_API int PlatformPathToUtf8(LPCSTR path, int pathLength, LPSTR out, int outBytes);

namespace platform {

inline std::string PathToUtf8(std::string_view path) {
  if (path.empty())
    return {};
  int length = static_cast<int>(path.size());
  int bytes = PlatformPathToUtf8(path.data(), length, nullptr, 0);
  std::string out(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
  if (bytes > 0)
    PlatformPathToUtf8(path.data(), length, out.data(), bytes);
  return out;
}

} // namespace platform
