#include "kernel32/last_error.h"
#include "kernel32/module.h"
#include "kernel32/process.h"
#include "win/exports.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

LPCSTR Ordinal(WORD ordinal) { return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(ordinal)); }

void* Address(FARPROC function) { return reinterpret_cast<void*>(function); }

std::string ProgramFile() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

std::string ModuleFile(HMODULE module) {
  char path[1024];
  DWORD n = GetModuleFileNameA(module, path, sizeof path);
  return std::string(path, n);
}

TEST(GetModuleHandleA, ProgramAndLoadedModulesButNothingElse) {
  HMODULE program = GetModuleHandleA(nullptr);
  EXPECT_NE(program, nullptr);
  EXPECT_EQ(ModuleFile(program), ProgramFile());
  EXPECT_EQ(ModuleFile(nullptr), ProgramFile());

  HMODULE kernel32 = GetModuleHandleA("kernel32");
  ASSERT_NE(kernel32, nullptr);
  EXPECT_EQ(GetModuleHandleA("KERNEL32.DLL"), kernel32);
  EXPECT_EQ(GetModuleHandleA("kernel32.dll"), kernel32);
  EXPECT_NE(kernel32, program);

  SetLastError(0);
  EXPECT_EQ(GetModuleHandleA("kernel32_fixture"), nullptr) << "not loaded yet";
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(GetModuleFileNameA, CutsALongPathLikeWindows) {
  std::string full = ProgramFile();
  char path[8];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), sizeof path);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(path), full.substr(0, sizeof path - 1));
  int not_a_module = 0;
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(&not_a_module), path, sizeof path), 0u);
}

// A test's own program path moves what the program writes beside itself,
// but libraries are still found beside the real program file.
TEST(GetModuleFileNameA, ATestsProgramPathIsReportedUntilItIsCleared) {
  PlatformTestSetProgramPath("/tmp/cantiva-test/cantiva");
  EXPECT_EQ(ModuleFile(nullptr), "/tmp/cantiva-test/cantiva");
  EXPECT_EQ(ModuleFile(GetModuleHandleA(nullptr)), "/tmp/cantiva-test/cantiva");
  HMODULE fixture = LoadLibraryA("kernel32_fixture");
  EXPECT_NE(fixture, nullptr);
  if (fixture)
    FreeLibrary(fixture);
  PlatformTestSetProgramPath(nullptr);
  EXPECT_EQ(ModuleFile(nullptr), ProgramFile());
}

TEST(GetProcAddress, ByNameAndByOrdinalThroughTheExportTable) {
  HMODULE kernel32 = GetModuleHandleA("kernel32");
  ASSERT_NE(kernel32, nullptr);
  EXPECT_EQ(Address(GetProcAddress(kernel32, "GetLastError")), reinterpret_cast<void*>(&GetLastError));
  const auto* table = static_cast<const PlatformExportTable*>(dlsym(kernel32, "PlatformModuleExports"));
  ASSERT_NE(table, nullptr);
  for (int i = 0; i < table->count; i++) {
    const PlatformExport& entry = table->entries[i];
    SCOPED_TRACE(entry.name);
    FARPROC by_name = GetProcAddress(kernel32, entry.name);
    EXPECT_NE(by_name, nullptr);
    EXPECT_EQ(GetProcAddress(kernel32, Ordinal(entry.ordinal)), by_name);
    EXPECT_EQ(PlatformArgumentCount(kernel32, entry.name), entry.argumentCount);
    EXPECT_EQ(PlatformArgumentCount(kernel32, Ordinal(entry.ordinal)), entry.argumentCount);
  }
  EXPECT_EQ(PlatformArgumentCount(kernel32, "WideCharToMultiByte"), 8);
  EXPECT_EQ(PlatformArgumentCount(kernel32, "CreateFileA"), 7);
}

TEST(GetProcAddress, FindsOnlyWhatTheModuleItselfDefines) {
  HMODULE kernel32 = GetModuleHandleA("kernel32");
  const struct {
    const char* what;
    LPCSTR name;
  } cases[] = {
      {"unknown name", "NoSuchFunction"},
      {"unknown ordinal", Ordinal(999)},
      {"a function kernel32 only links", "malloc"},
      {"a hidden function", "_Z13WildcardMatchSt17basic_string_viewIDsSt11char_traitsIDsEES3_"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(kernel32, c.name), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  }
  EXPECT_EQ(PlatformArgumentCount(kernel32, "NoSuchFunction"), -1);
  EXPECT_EQ(PlatformArgumentCount(GetModuleHandleA(nullptr), "main"), -1) << "the program has no table";
}

TEST(LoadLibraryA, LoadsFromTheProgramFolderAndFreesAgain) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("no_such_module"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  HMODULE fixture = LoadLibraryA("Kernel32_Fixture.DLL");
  ASSERT_NE(fixture, nullptr);
  EXPECT_EQ(GetModuleHandleA("kernel32_fixture"), fixture);
  std::string program_folder = std::filesystem::path(ProgramFile()).parent_path().string();
  EXPECT_EQ(ModuleFile(fixture), program_folder + "/libkernel32_fixture.so");

  auto add = reinterpret_cast<int (*)(int, int)>(GetProcAddress(fixture, "FixtureAdd"));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);
  auto answer = reinterpret_cast<int (*)()>(GetProcAddress(fixture, Ordinal(2)));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(PlatformArgumentCount(fixture, "FixtureAdd"), 2);
  EXPECT_EQ(PlatformArgumentCount(fixture, "GetLastError"), -1) << "kernel32's table is not the fixture's";
  EXPECT_EQ(GetProcAddress(fixture, Ordinal(13)), nullptr);

  EXPECT_TRUE(FreeLibrary(fixture));
  EXPECT_EQ(GetModuleHandleA("kernel32_fixture"), nullptr);
}

// A code page 936 path names the library file; its name comes back in
// code page 936.
TEST(LoadLibraryA, ByCp936PathThroughAUtf8Folder) {
  TempFolder folder;
  std::string program_folder = std::filesystem::path(ProgramFile()).parent_path().string();
  std::filesystem::create_directory(folder.Path() + "/\xE4\xB8\xAD\xE6\x96\x87");
  std::filesystem::copy_file(program_folder + "/libkernel32_fixture.so",
                             folder.Path() + "/\xE4\xB8\xAD\xE6\x96\x87/libcopy.so");
  std::string gbk_path = folder.Path() + "\\\xD6\xD0\xCE\xC4\\libcopy.so";
  HMODULE copy = LoadLibraryA(gbk_path.c_str());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(ModuleFile(copy), folder.Path() + "/\xD6\xD0\xCE\xC4/libcopy.so");
  EXPECT_NE(GetProcAddress(copy, "FixtureAdd"), nullptr);
  EXPECT_TRUE(FreeLibrary(copy));
}

} // namespace
