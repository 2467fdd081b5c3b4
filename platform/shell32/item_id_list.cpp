#include "shell32/item_id_list.h"

#include "shell32/shell_allocator.h"

#include <cstring>
#include <string_view>

namespace {

// Marks an item as a file-system folder of this shell.
constexpr BYTE kFolderItem = 0x31;
constexpr size_t kItemHeader = sizeof(USHORT) + 1;
constexpr size_t kLongestItemPath = 0xFFFF - kItemHeader - 1;
constexpr size_t kLongestReportedPath = 259;

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); }

// The path up to its last character that is no separator, read character by
// character so that a trail byte 0x5C stays part of its character; "/" when
// nothing but separators is left.
std::string_view WithoutTrailingSeparators(std::string_view path) {
  size_t kept = 0;
  for (size_t i = 0; i < path.size(); i++) {
    auto b = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(b) && i + 1 < path.size() && IsTrailByte(static_cast<unsigned char>(path[i + 1]))) {
      kept = ++i + 1;
    } else if (b != '/' && b != '\\') {
      kept = i + 1;
    }
  }
  return kept ? path.substr(0, kept) : std::string_view("/");
}

USHORT ReadCount(const BYTE* at) {
  USHORT cb;
  std::memcpy(&cb, at, sizeof cb);
  return cb;
}

void WriteCount(BYTE* at, USHORT cb) { std::memcpy(at, &cb, sizeof cb); }

// The path an item of this shell holds, or empty for any other list.
std::string_view FolderPath(LPCITEMIDLIST list) {
  const auto* item = reinterpret_cast<const BYTE*>(list);
  USHORT cb = ReadCount(item);
  if (cb < kItemHeader + 2 || item[sizeof(USHORT)] != kFolderItem || item[cb - 1] != 0 ||
      ReadCount(item + cb))
    return {};
  std::string_view path(reinterpret_cast<const char*>(item + kItemHeader), cb - kItemHeader - 1);
  return path.find('\0') == std::string_view::npos ? path : std::string_view();
}

} // namespace

LPITEMIDLIST PlatformCreatePathIdList(LPCSTR cp936Path) {
  if (!cp936Path || !*cp936Path)
    return nullptr;
  std::string_view path = WithoutTrailingSeparators(cp936Path);
  if (path.size() > kLongestItemPath)
    return nullptr;
  auto cb = static_cast<USHORT>(kItemHeader + path.size() + 1);
  auto* list = static_cast<BYTE*>(ShellAllocator().Alloc(cb + sizeof(USHORT)));
  if (!list)
    return nullptr;
  WriteCount(list, cb);
  list[sizeof(USHORT)] = kFolderItem;
  std::memcpy(list + kItemHeader, path.data(), path.size());
  list[cb - 1] = 0;
  WriteCount(list + cb, 0);
  return reinterpret_cast<LPITEMIDLIST>(list);
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
  if (!path)
    return FALSE;
  path[0] = '\0';
  if (!list)
    return FALSE;
  std::string_view folder = FolderPath(list);
  if (folder.empty() || folder.size() > kLongestReportedPath)
    return FALSE;
  std::memcpy(path, folder.data(), folder.size());
  path[folder.size()] = '\0';
  return TRUE;
}
