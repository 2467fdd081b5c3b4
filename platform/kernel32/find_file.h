// Listing the entries of a folder that match a wildcard name.
//
// The pattern is a code page 936 path whose last part may hold "*" (any
// run of characters) and "?" (one UTF-16 unit), matched against each entry's
// long name with ASCII letters folded; "*.*" matches every name. Folders
// are listed too, "." and ".." among them when the pattern matches them;
// leaving folders out is the caller's choice. Entries come in the file
// system's own order, and their names are code page 936 texts in which a
// character the code page lacks is "?". There are no 8.3 short names, so
// "*.mp3" never lists "x.mp3x".
#pragma once

#include "win/types.h"

constexpr DWORD MAX_PATH = 260;

// 100-nanosecond intervals since 1601-01-01 UTC.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

// Attributes (kernel32/file.h): FILE_ATTRIBUTE_DIRECTORY for folders,
// FILE_ATTRIBUTE_ARCHIVE for files, FILE_ATTRIBUTE_HIDDEN for names that
// start with "." (not "." and ".." themselves), FILE_ATTRIBUTE_READONLY when
// nobody may write it, FILE_ATTRIBUTE_NORMAL for anything else. The creation
// time is the last write time, the file system keeps no other.
struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];
};

// The first matching entry, or INVALID_HANDLE_VALUE: ERROR_PATH_NOT_FOUND
// when the folder does not exist, ERROR_FILE_NOT_FOUND when nothing matches.
PLATFORM_API HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* found);

// The next matching entry; FALSE with ERROR_NO_MORE_FILES after the last.
PLATFORM_API BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* found);

PLATFORM_API BOOL FindClose(HANDLE find);
