#include "kernel32/find_file.h"

#include "kernel32/conversion.h"
#include "kernel32/file.h"
#include "kernel32/handle.h"
#include "kernel32/last_error.h"
#include "kernel32/path.h"
#include "kernel32/wildcard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

// Seconds from 1601-01-01 to 1970-01-01.
constexpr uint64_t kEpochDifference = 11644473600ULL;

FILETIME FileTimeOf(const timespec& t) {
  uint64_t ticks = (static_cast<uint64_t>(t.tv_sec) + kEpochDifference) * 10000000ULL +
                   static_cast<uint64_t>(t.tv_nsec) / 100;
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

DWORD AttributesOf(const char* name, const struct stat& st) {
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode))
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  else if (S_ISREG(st.st_mode))
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if (name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
    attributes |= FILE_ATTRIBUTE_HIDDEN;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

void Fill(WIN32_FIND_DATAA* found, const char* name, std::u16string_view wide, const struct stat& st) {
  *found = {};
  found->dwFileAttributes = AttributesOf(name, st);
  found->ftLastWriteTime = FileTimeOf(st.st_mtim);
  found->ftCreationTime = found->ftLastWriteTime;
  found->ftLastAccessTime = FileTimeOf(st.st_atim);
  uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  found->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  found->nFileSizeLow = static_cast<DWORD>(size);
  std::string narrow = platform::FromUtf16(CP_ACP, wide);
  size_t length = std::min(narrow.size(), sizeof found->cFileName - 1);
  std::memcpy(found->cFileName, narrow.data(), length);
}

class FindObject : public KernelObject {
public:
  static constexpr KernelObjectKind kKind = KernelObjectKind::Find;

  FindObject(UniqueDir dir, std::u16string pattern)
      : KernelObject(kKind), dir_(std::move(dir)), pattern_(std::move(pattern)) {}

  // Fills in the next matching entry; false when there is none left.
  bool Next(WIN32_FIND_DATAA* found) {
    std::lock_guard lock(mutex_);
    while (dirent* entry = readdir(dir_.get())) {
      std::u16string wide = platform::ToUtf16(CP_UTF8, entry->d_name);
      if (!WildcardMatch(pattern_, wide))
        continue;
      struct stat st {};
      int fd = dirfd(dir_.get());
      if (fstatat(fd, entry->d_name, &st, 0) != 0 &&
          fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        continue;
      Fill(found, entry->d_name, wide, st);
      return true;
    }
    return false;
  }

private:
  std::mutex mutex_;
  UniqueDir dir_;
  std::u16string pattern_;
};

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

struct SplitPattern {
  std::string folder;
  std::string name;
};

SplitPattern Split(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* found) {
  if (!pattern || !found)
    return Fail(ERROR_INVALID_PARAMETER);
  SplitPattern split = Split(platform::PathToUtf8(pattern));
  if (split.folder.empty())
    return Fail(ERROR_PATH_NOT_FOUND);
  UniqueDir dir(opendir(split.folder.c_str()));
  if (!dir)
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : PlatformErrorFromErrno(errno));
  std::u16string name = platform::ToUtf16(CP_UTF8, split.name);
  if (name == u"*.*")
    name.resize(1);
  auto find = std::make_shared<FindObject>(std::move(dir), std::move(name));
  if (!find->Next(found))
    return Fail(ERROR_FILE_NOT_FOUND);
  return ProcessHandles().Insert(std::move(find));
}

BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* found) {
  std::shared_ptr<FindObject> object = ProcessHandles().FindAs<FindObject>(find);
  if (!object || !found) {
    SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!object->Next(found)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  if (ProcessHandles().Remove(find, KernelObjectKind::Find))
    return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
