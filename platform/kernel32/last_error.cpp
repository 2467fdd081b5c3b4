#include "kernel32/last_error.h"

#include <cerrno>

namespace {
thread_local DWORD last_error = ERROR_SUCCESS;
}

DWORD GetLastError() { return last_error; }

void SetLastError(DWORD error) { last_error = error; }

DWORD PlatformErrorFromErrno(int error) {
  switch (error) {
  case 0:
    return ERROR_SUCCESS;
  case ENOENT:
    return ERROR_FILE_NOT_FOUND;
  case ENOTDIR:
  case ELOOP:
    return ERROR_PATH_NOT_FOUND;
  case EACCES:
  case EPERM:
  case EROFS:
  case EISDIR:
  case ETXTBSY:
    return ERROR_ACCESS_DENIED;
  case EBADF:
    return ERROR_INVALID_HANDLE;
  case ENOMEM:
    return ERROR_NOT_ENOUGH_MEMORY;
  case EWOULDBLOCK:
    return ERROR_SHARING_VIOLATION;
  case EEXIST:
    return ERROR_FILE_EXISTS;
  case ENOSPC:
  case EDQUOT:
  case EFBIG:
    return ERROR_DISK_FULL;
  case ENAMETOOLONG:
    return ERROR_INVALID_NAME;
  default:
    return ERROR_INVALID_PARAMETER;
  }
}
