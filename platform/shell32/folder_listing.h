// What the folder browser lists of one folder: its entries, hidden ones
// (names starting with ".") left out, folders first, each group sorted by
// name, names in the file system's UTF-8.
#pragma once

#include <string>
#include <vector>

namespace shell32 {

struct FolderEntry {
  std::string name;
  bool folder;
};

// Nothing for a folder that cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& folder, bool withFiles);

} // namespace shell32
