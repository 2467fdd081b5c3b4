// Item identifier lists: how the shell names a place it shows.
//
// A list is a chain of items, each an unsigned 16-bit byte count `cb`
// (counting itself) followed by cb - 2 bytes of the item's data, ended by an
// item whose cb is 0. The lists this shell makes hold one item for one
// file-system folder: a kind byte that marks it as one, then its code page
// 936 path, NUL-terminated, without a trailing separator ("/" alone for the
// root). They are allocated with the
// shell's allocator (shell32/shell_malloc.h), whose Free releases them.
#pragma once

#include "win/types.h"

using USHORT = uint16_t;

struct SHITEMID {
  USHORT cb;
  BYTE abID[1];
};

struct ITEMIDLIST {
  SHITEMID mkid;
};

using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

// A one-item list for a code page 936 folder path ("\\" that is not a trail
// byte and "/" both separate). Trailing separators are dropped except for a
// path made of separators only, which is the root "/". Null for a null or
// empty path, a path too long for one item, or an exhausted allocator.
PLATFORM_API LPITEMIDLIST PlatformCreatePathIdList(LPCSTR cp936Path);

// Writes the list's code page 936 path and its terminator into `path`
// (260 bytes, MAX_PATH). FALSE, with `path` emptied, for a null or empty list, a
// list this shell did not make, or a path of more than 259 bytes.
PLATFORM_API BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
