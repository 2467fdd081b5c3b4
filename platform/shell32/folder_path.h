// File system paths as the folder browser walks them (UTF-8, "/" between
// parts, always absolute).
#pragma once

#include <string>

namespace shell32 {

// "." and ".." resolved and repeated or trailing "/" dropped without asking
// the file system; "/" for the root. `path` must be absolute.
std::string NormalPath(const std::string& path);
std::string ParentOf(const std::string& folder);
std::string Join(const std::string& folder, const std::string& name);
// The last part of the path ("/" for the root).
std::string LastPart(const std::string& path);
// $HOME when it is a folder, else the account's home folder, else "/".
std::string HomeFolder();
bool IsFolder(const std::string& path);
bool Exists(const std::string& path);

} // namespace shell32
