// The folder browser: a modal dialog in which the user picks a folder (or,
// when asked, a file) of the file system.
//
// The dialog (class "#32770", title "浏览文件夹" in code page 936) shows the
// caller's instruction text, with BIF_EDITBOX an edit box holding the
// selected folder's path, the current folder's entries in a list and the
// buttons "确定" (IDOK, the default one) and "取消" (IDCANCEL). It starts in
// the user's home folder (or in the folder of `pidlRoot`, when that is one
// of this shell's lists), with the keyboard focus in the edit box and its
// text selected, so that a typed path replaces it.
//
// The list holds ".." (up; not in the root), then the subfolders, then
// with BIF_BROWSEINCLUDEFILES the files, each group sorted by name; names
// starting with "." are hidden and left out. Names show in code page 936,
// converted from the file system's UTF-8. Selecting an entry puts its path
// into the edit box; a double click on a folder (or "..") enters it.
//
// Enter or "确定" take the edit box's path (relative paths are taken inside
// the current folder, "\\" and "/" both separate) when it names an existing
// folder (or, with BIF_BROWSEINCLUDEFILES, a file); otherwise the dialog
// beeps and stays open. Cancel, Esc and the close box give null.
//
// Control identifiers, stable for tests: PLATFORM_BROWSE_TEXT_ID (the
// instruction Static), PLATFORM_BROWSE_EDIT_ID (the Edit),
// PLATFORM_BROWSE_LIST_ID (the ListBox), IDOK and IDCANCEL.
#pragma once

#include "shell32/item_id_list.h"

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
constexpr UINT BIF_EDITBOX = 0x0010;
constexpr UINT BIF_VALIDATE = 0x0020;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;
constexpr UINT BIF_BROWSEINCLUDEFILES = 0x4000;

constexpr int PLATFORM_BROWSE_TEXT_ID = 0x3742;
constexpr int PLATFORM_BROWSE_LIST_ID = 0x3741;
constexpr int PLATFORM_BROWSE_EDIT_ID = 0x3744;

// Never called here: the browser sends its caller no notifications.
using BFFCALLBACK = int (*)(HWND window, UINT message, LPARAM lParam, LPARAM data);

struct BROWSEINFOA {
  HWND hwndOwner;         // the dialog is modal to it (null: to nothing)
  LPCITEMIDLIST pidlRoot; // null: the whole file system
  LPSTR pszDisplayName;   // null, or 260 bytes for the chosen entry's name
  LPCSTR lpszTitle;       // the instruction text
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};

// The chosen folder as an item identifier list (SHGetPathFromIDListA gives
// its code page 936 path), which the caller frees with the shell's
// allocator (SHGetMalloc, Free, Release); null for Cancel, or when no
// dialog could be shown. Runs on the calling thread.
PLATFORM_API LPITEMIDLIST SHBrowseForFolderA(const BROWSEINFOA* info);
