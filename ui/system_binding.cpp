#include "ui/system_binding.h"

#include "kernel32/format.h"
#include "kernel32/module.h"
#include "runtime/runtime_frame.h"
#include "runtime/value_array.h"
#include "user32/message_box.h"

#include <cstdlib>
#include <cstring>

namespace {

// The libraries the binder loaded itself. It grows without a limit.
ValueArray<void*> LoadedLibraries;

[[noreturn]] void DllError(const char* text) {
  MessageBoxA(nullptr, text, "DLL ERROR", MB_ICONHAND);
  ExitProgram(0);
}

HMODULE FindOrLoadLibrary(const char* library) {
  if (HMODULE present = GetModuleHandleA(library))
    return present;
  HMODULE loaded = LoadLibraryA(library);
  if (!loaded) {
    char text[1024];
    wsprintfA(text, "同目录下无法找到DLL文件:\"%s\".请与作者联系.", library);
    DllError(text);
  }
  LoadedLibraries.Append(loaded);
  if (LoadedLibraries.Count() == 1)
    SetLibraryUnloader(FreeLoadedLibraries);
  return loaded;
}

// The name as the library knows it: an ordinal for "#" and digits, else the
// text, cut before a "@@".
struct LookupName {
  char text[1024];
  LPCSTR name;
};

void MakeLookupName(const char* function, LookupName& out) {
  if (function[0] == '#') {
    out.name = reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(std::atoi(function + 1)));
    return;
  }
  std::strncpy(out.text, function, sizeof out.text - 1);
  out.text[sizeof out.text - 1] = '\0';
  char* at = std::strchr(out.text, '@');
  if (at && at[1] == '@')
    *at = '\0';
  out.name = out.text;
}

} // namespace

void* ResolveSystemFunction(const char* library, const char* function, int argumentCount, std::atomic<void*>& cell) {
  HMODULE module = FindOrLoadLibrary(library);
  LookupName lookup;
  MakeLookupName(function, lookup);
  void* address = reinterpret_cast<void*>(GetProcAddress(module, lookup.name));
  if (!address) {
    char text[1024];
    wsprintfA(text, "无法定位DLL文件:\"%s\"当中的\"%s\"函数.", library, function);
    DllError(text);
  }
  // A function that takes another number of arguments than the cell passes
  // does not fit its declaration.
  int takes = PlatformArgumentCount(module, lookup.name);
  if (takes >= 0 && takes != argumentCount)
    FatalError(6);
  cell.store(address, std::memory_order_release);
  return address;
}

void FreeLoadedLibraries() {
  for (int32_t i = 1; i <= LoadedLibraries.Count(); i++)
    FreeLibrary(static_cast<HMODULE>(LoadedLibraries.At(i)));
  LoadedLibraries.Clear();
}

int32_t LoadedLibraryCount() { return LoadedLibraries.Count(); }
