#include "shell32/folder_listing.h"

#include "shell32/folder_path.h"

#include <dirent.h>

#include <algorithm>
#include <memory>

namespace shell32 {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder, bool withFiles) {
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  std::vector<FolderEntry> entries;
  if (!dir)
    return entries;
  while (const dirent* entry = readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name.empty() || name[0] == '.')
      continue;
    // Through stat, so that a link to a folder lists as a folder.
    bool isFolder = IsFolder(Join(folder, name));
    if (isFolder || withFiles)
      entries.push_back({name, isFolder});
  }
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    return a.folder != b.folder ? a.folder : a.name < b.name;
  });
  return entries;
}

} // namespace shell32
