#include "kernel32/file.h"

#include "kernel32/handle.h"
#include "kernel32/last_error.h"
#include "kernel32/path.h"
#include "kernel32/unique_fd.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

class FileObject : public KernelObject {
public:
  static constexpr KernelObjectKind kKind = KernelObjectKind::File;

  FileObject(UniqueFd fd, bool writable) : KernelObject(kKind), fd_(std::move(fd)), writable_(writable) {}

  int Fd() const { return fd_.Get(); }
  bool Writable() const { return writable_; }

private:
  UniqueFd fd_;
  bool writable_;
};

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

bool Creates(DWORD disposition) {
  return disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
}

bool Truncates(DWORD disposition) { return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING; }

// Emptying the file needs write access underneath, whatever the caller asked.
int OpenFlags(DWORD access, DWORD disposition) {
  bool reads = (access & GENERIC_READ) != 0;
  bool writes = (access & GENERIC_WRITE) != 0 || Truncates(disposition);
  int flags = O_CLOEXEC | (reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY);
  if (Creates(disposition))
    flags |= O_CREAT;
  if (disposition == CREATE_NEW)
    flags |= O_EXCL;
  return flags;
}

bool FolderExists(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return true;
  struct stat st {};
  std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

DWORD OpenError(int error, const std::string& path) {
  if (error == ENOENT)
    return FolderExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  return PlatformErrorFromErrno(error);
}

} // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPVOID, DWORD disposition, DWORD attributes,
                   HANDLE) {
  if (!name || disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING)
    return Fail(ERROR_INVALID_PARAMETER);
  std::string path = platform::PathToUtf8(name);
  if (path.empty())
    return Fail(ERROR_PATH_NOT_FOUND);
  struct stat existing {};
  bool existed = stat(path.c_str(), &existing) == 0;
  if (existed && S_ISDIR(existing.st_mode))
    return Fail(ERROR_ACCESS_DENIED);
  mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  UniqueFd fd(open(path.c_str(), OpenFlags(access, disposition), mode));
  if (!fd.Valid())
    return Fail(OpenError(errno, path));
  // The lock stands for the share mode: an exclusive handle keeps every
  // other one out, shared handles only keep exclusive ones out.
  if (flock(fd.Get(), (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0)
    return Fail(errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : PlatformErrorFromErrno(errno));
  if (Truncates(disposition) && ftruncate(fd.Get(), 0) != 0)
    return Fail(PlatformErrorFromErrno(errno));
  bool writable = (access & GENERIC_WRITE) != 0;
  HANDLE handle = ProcessHandles().Insert(std::make_shared<FileObject>(std::move(fd), writable));
  bool reports_existing = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
  SetLastError(reports_existing && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, DWORD* written, LPVOID overlapped) {
  if (written)
    *written = 0;
  std::shared_ptr<FileObject> object = ProcessHandles().FindAs<FileObject>(file);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (overlapped || (!buffer && bytes > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!object->Writable()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const char* at = static_cast<const char*>(buffer);
  DWORD done = 0;
  while (done < bytes) {
    ssize_t n = write(object->Fd(), at + done, bytes - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      SetLastError(n == 0 ? ERROR_DISK_FULL : PlatformErrorFromErrno(errno));
      if (written)
        *written = done;
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  if (written)
    *written = done;
  return TRUE;
}
