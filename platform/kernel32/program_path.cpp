#include "kernel32/program_path.h"

#include <unistd.h>

std::string ProgramPath() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof path)
    return {};
  return std::string(path, static_cast<size_t>(n));
}

std::string ProgramDirectory() {
  std::string path = ProgramPath();
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}
