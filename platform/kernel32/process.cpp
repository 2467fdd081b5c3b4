#include "kernel32/process.h"

#include "kernel32/conversion.h"
#include "kernel32/last_error.h"
#include "kernel32/program_path.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>

void ExitProcess(UINT code) {
  std::fflush(nullptr);
  _exit(static_cast<int>(code));
}

namespace {

std::mutex program_path_mutex;
std::optional<std::string> program_path_for_tests;

std::string ReportedProgramPath() {
  std::lock_guard lock(program_path_mutex);
  return program_path_for_tests ? *program_path_for_tests : ProgramPath();
}

// A module handle is one of the process's link maps; anything else is no
// module. The program's own map has an empty name.
std::optional<std::string> ModulePath(HMODULE module) {
  if (!module)
    return ReportedProgramPath();
  link_map* map = nullptr;
  if (dlinfo(dlopen(nullptr, RTLD_LAZY), RTLD_DI_LINKMAP, &map) != 0)
    return std::nullopt;
  for (; map; map = map->l_next) {
    if (static_cast<void*>(map) != static_cast<void*>(module))
      continue;
    if (!map->l_name || !*map->l_name)
      return ReportedProgramPath();
    return std::string(map->l_name);
  }
  return std::nullopt;
}

} // namespace

DWORD GetCurrentThreadId() { return static_cast<DWORD>(syscall(SYS_gettid)); }

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::optional<std::string> path = ModulePath(module);
  if (!path || path->empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    buffer[0] = '\0';
    return 0;
  }
  std::string narrow = platform::Utf8ToCp936(*path);
  if (narrow.size() >= size) {
    std::memcpy(buffer, narrow.data(), size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(buffer, narrow.data(), narrow.size());
  buffer[narrow.size()] = '\0';
  return static_cast<DWORD>(narrow.size());
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

void PlatformTestSetProgramPath(const char* path) {
  std::lock_guard lock(program_path_mutex);
  program_path_for_tests = path ? std::optional<std::string>(path) : std::nullopt;
}
