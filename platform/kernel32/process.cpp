#include "kernel32/process.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

void ExitProcess(UINT code) {
  std::fflush(nullptr);
  _exit(static_cast<int>(code));
}

DWORD GetCurrentThreadId() { return static_cast<DWORD>(syscall(SYS_gettid)); }

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (module || !buffer || size == 0)
    return 0;
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0)
    return 0;
  // File names on this system are UTF-8 and the program's path is ASCII in
  // every place it is installed; a path that is not is cut at its first
  // non-ASCII byte rather than handed on in the wrong code page.
  size_t length = 0;
  while (length < static_cast<size_t>(n) && static_cast<unsigned char>(path[length]) < 0x80)
    length++;
  size_t copied = length < size ? length : size - 1;
  std::memcpy(buffer, path, copied);
  buffer[copied] = '\0';
  return static_cast<DWORD>(copied);
}

LPCSTR PlatformCommandTail() {
  static const std::string tail = [] {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string result;
    size_t first_end = all.find('\0');
    if (first_end == std::string::npos)
      return result;
    for (size_t i = first_end + 1; i < all.size(); i++)
      result += all[i] ? all[i] : ' ';
    while (!result.empty() && result.back() == ' ')
      result.pop_back();
    return result;
  }();
  return tail.c_str();
}
