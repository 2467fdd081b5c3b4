#include "../export_table_check.h"

#include "kernel32/module.h"

#include <gtest/gtest.h>

namespace {

TEST(Shell32Exports, TableListsEveryExportedFunctionOnceWithItsArgumentCount) {
  HMODULE shell32 = LoadLibraryA("shell32");
  export_check::ExpectTableListsEveryExport(shell32);
  EXPECT_EQ(PlatformArgumentCount(shell32, "ShellExecuteA"), 6);
  EXPECT_EQ(PlatformArgumentCount(shell32, "SHGetPathFromIDListA"), 2);
  EXPECT_EQ(PlatformArgumentCount(shell32, "SHGetMalloc"), 1);
  FreeLibrary(shell32);
}

} // namespace
