#include "win/exports.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <set>
#include <string>

namespace {

const PlatformExportTable* TableOf(void* library) {
  return static_cast<const PlatformExportTable*>(dlsym(library, "PlatformModuleExports"));
}

void ExpectConsistent(const char* file) {
  void* library = dlopen(file, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(library, nullptr) << file;
  const PlatformExportTable* table = TableOf(library);
  ASSERT_NE(table, nullptr);
  std::set<std::string> names;
  std::set<WORD> ordinals;
  for (int i = 0; i < table->count; i++) {
    const PlatformExport& entry = table->entries[i];
    SCOPED_TRACE(entry.name);
    EXPECT_NE(dlsym(library, entry.name), nullptr);
    EXPECT_TRUE(names.insert(entry.name).second);
    EXPECT_TRUE(ordinals.insert(entry.ordinal).second);
    EXPECT_GE(entry.ordinal, 1);
  }
  dlclose(library);
}

int ArgumentsOf(const char* file, const char* name) {
  void* library = dlopen(file, RTLD_NOW | RTLD_NOLOAD);
  const PlatformExportTable* table = library ? TableOf(library) : nullptr;
  int count = -1;
  for (int i = 0; table && i < table->count; i++) {
    if (std::string(table->entries[i].name) == name)
      count = table->entries[i].argumentCount;
  }
  if (library)
    dlclose(library);
  return count;
}

TEST(ExportTables, EveryListedFunctionExistsOnceUnderItsOwnOrdinal) {
  ExpectConsistent("libuser32.so");
  ExpectConsistent("libgdi32.so");
}

TEST(ExportTables, TheFunctionsTheProgramBindsByNameTakeTheirWindowsArguments) {
  struct Case {
    const char* file;
    const char* name;
    int arguments;
  } cases[] = {
      {"libuser32.so", "GetMessageA", 4},      {"libuser32.so", "TranslateMessage", 1},
      {"libuser32.so", "DispatchMessageA", 1}, {"libuser32.so", "IsWindowVisible", 1},
      {"libuser32.so", "ShowWindow", 2},       {"libuser32.so", "UpdateWindow", 1},
      {"libuser32.so", "IsWindow", 1},         {"libuser32.so", "SetWindowTextA", 2},
      {"libuser32.so", "SendMessageA", 4},     {"libuser32.so", "LoadIconA", 2},
      {"libuser32.so", "LoadCursorA", 2},      {"libuser32.so", "RegisterClassExA", 1},
      {"libuser32.so", "DefWindowProcA", 4},   {"libuser32.so", "PostQuitMessage", 1},
      {"libuser32.so", "GetWindowLongA", 2},   {"libuser32.so", "SetWindowLongA", 3},
      {"libuser32.so", "MessageBoxA", 4},      {"libuser32.so", "CreateWindowExA", 12},
      {"libgdi32.so", "CreateFontA", 14},      {"libgdi32.so", "DeleteObject", 1},
      {"libgdi32.so", "GetStockObject", 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ArgumentsOf(c.file, c.name), c.arguments) << c.name;
  EXPECT_EQ(ArgumentsOf("libuser32.so", "GetModuleHandleA"), -1); // kernel32's, not ours
}

} // namespace
