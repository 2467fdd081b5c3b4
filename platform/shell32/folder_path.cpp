#include "shell32/folder_path.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace shell32 {

std::string NormalPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t at = 0;
  while (at <= path.size()) {
    size_t end = path.find('/', at);
    if (end == std::string::npos)
      end = path.size();
    std::string part = path.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty())
        parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  std::string normal;
  for (const std::string& part : parts)
    normal += "/" + part;
  return normal.empty() ? "/" : normal;
}

std::string ParentOf(const std::string& folder) { return NormalPath(folder + "/.."); }

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string LastPart(const std::string& path) {
  size_t slash = path.rfind('/');
  if (path == "/" || slash == std::string::npos)
    return path;
  return path.substr(slash + 1);
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/' && IsFolder(home))
    return NormalPath(home);
  if (const passwd* account = getpwuid(getuid()); account && account->pw_dir && IsFolder(account->pw_dir))
    return NormalPath(account->pw_dir);
  return "/";
}

} // namespace shell32
