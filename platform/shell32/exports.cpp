// Every function libshell32.so exports, with its ordinal and its argument
// count. Ordinals are never renumbered; new functions take the next one.
#include "win/exports.h"

PLATFORM_EXPORT_TABLE({"ShellExecuteA", 1, 6}, {"SHGetPathFromIDListA", 2, 2}, {"SHGetMalloc", 3, 1},
                      {"PlatformCreatePathIdList", 4, 1}, {"PlatformTestSetShellExecuteObserver", 5, 2},
                      {"SHBrowseForFolderA", 6, 1});
