// The one object behind SHGetMalloc (internal to libshell32), for the
// shell's own allocations without a reference to take and give back.
#pragma once

#include "shell32/shell_malloc.h"

IMalloc& ShellAllocator();
