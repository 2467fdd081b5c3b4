// Creating and writing files.
//
// Paths are code page 936 texts with "\\" or "/" between their parts
// (kernel32/path.h). A handle opened without sharing keeps every other
// CreateFileA of the same file out until it is closed; handles that share
// may be open together. Nothing is ever created in a folder that does not
// exist, and a directory is never opened as a file.
#pragma once

#include "win/types.h"

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;

constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;

// Opens or creates a file; `security` and `templateFile` are not used.
// Returns INVALID_HANDLE_VALUE on failure: ERROR_PATH_NOT_FOUND for a missing
// folder, ERROR_FILE_NOT_FOUND for a missing file, ERROR_ACCESS_DENIED for a
// directory at the path, ERROR_FILE_EXISTS for CREATE_NEW on an existing
// file, ERROR_SHARING_VIOLATION while another handle keeps it. CREATE_ALWAYS
// and OPEN_ALWAYS that find the file succeed with ERROR_ALREADY_EXISTS.
PLATFORM_API HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPVOID security,
                                DWORD disposition, DWORD attributes, HANDLE templateFile);

// Writes all `bytes` at the file's position, or fails (ERROR_DISK_FULL,
// ERROR_ACCESS_DENIED for a handle without write access); `written` gets
// what reached the file either way. `overlapped` must be null.
PLATFORM_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, DWORD* written, LPVOID overlapped);
