#include "shell32/executable_search.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string FindOnPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  if (!path || name.empty())
    return {};
  std::string_view rest(path);
  while (true) {
    size_t colon = rest.find(':');
    std::string_view entry = rest.substr(0, colon);
    std::string candidate = entry.empty() ? "./" : std::string(entry) + "/";
    candidate += name;
    if (IsExecutableFile(candidate))
      return candidate;
    if (colon == std::string_view::npos)
      return {};
    rest.remove_prefix(colon + 1);
  }
}
