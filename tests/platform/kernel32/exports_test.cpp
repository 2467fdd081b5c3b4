#include "../export_table_check.h"

#include "kernel32/module.h"

#include <gtest/gtest.h>

namespace {

TEST(Kernel32Exports, TableListsEveryExportedFunctionOnce) {
  export_check::ExpectTableListsEveryExport(GetModuleHandleA("kernel32"), 31);
}

} // namespace
