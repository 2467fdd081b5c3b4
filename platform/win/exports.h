// The export table of one platform module.
//
// Every module (libkernel32.so, libuser32.so, ...) defines one table named
// PlatformModuleExports listing the functions it exports, each with its
// ordinal and the number of arguments it takes. GetProcAddress resolves an
// ordinal ("#17") through it, and binding by name checks a caller's argument
// count against it.
#pragma once

#include "win/types.h"

struct PlatformExport {
  const char* name;
  WORD ordinal;
  BYTE argumentCount;
};

struct PlatformExportTable {
  const PlatformExport* entries;
  int count;
};

// The table is "protected": dlsym finds it, but the module's own references
// stay with its own copy instead of binding to the first module loaded
// (AddressSanitizer reports that as an ODR violation).
//
// Define it in exactly one source file of the module:
//   PLATFORM_EXPORT_TABLE({"GetMessageA", 1, 4}, {"TranslateMessage", 2, 1}, ...);
#define PLATFORM_EXPORT_TABLE(...)                                                                           \
  static const PlatformExport platform_module_exports_[] = {__VA_ARGS__};                                   \
  extern "C" __attribute__((visibility("protected"))) const PlatformExportTable PlatformModuleExports = {    \
      platform_module_exports_, static_cast<int>(sizeof platform_module_exports_ / sizeof platform_module_exports_[0])}
