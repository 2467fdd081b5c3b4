#include "kernel32/path.h"

#include "kernel32/conversion.h"
#include "kernel32/last_error.h"

#include <cstring>

namespace {

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); }

// Steps over two-byte characters the way the code page conversion reads
// them, so that a trail byte 0x5C stays part of its character.
std::string WithSlashes(std::string_view path) {
  std::string out(path);
  for (size_t i = 0; i < out.size(); i++) {
    auto b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(b) && i + 1 < out.size() && IsTrailByte(static_cast<unsigned char>(out[i + 1])))
      i++;
    else if (b == '\\')
      out[i] = '/';
  }
  return out;
}

} // namespace

int PlatformPathToUtf8(LPCSTR path, int pathLength, LPSTR out, int outBytes) {
  if (!path || pathLength < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = pathLength == -1 ? std::strlen(path) + 1 : static_cast<size_t>(pathLength);
  std::string slashed = WithSlashes(std::string_view(path, length));
  return PlatformCp936ToUtf8(slashed.data(), static_cast<int>(slashed.size()), out, outBytes);
}
