#include "kernel32/module.h"

#include "kernel32/last_error.h"
#include "kernel32/path.h"
#include "kernel32/program_path.h"
#include "win/exports.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>
#include <string_view>

namespace {

bool IsOrdinal(LPCSTR name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

WORD OrdinalOf(LPCSTR name) { return static_cast<WORD>(reinterpret_cast<uintptr_t>(name)); }

bool IsPath(std::string_view name) { return name.find_first_of("\\/") != std::string_view::npos; }

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size())
    return false;
  std::string_view tail = text.substr(text.size() - end.size());
  for (size_t i = 0; i < end.size(); i++) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
    if (c != end[i])
      return false;
  }
  return true;
}

// "USER32.DLL" and "user32" both stand for libuser32.so.
std::string LibraryFileName(std::string_view name) {
  if (EndsWithIgnoringCase(name, ".dll"))
    name.remove_suffix(4);
  std::string file = "lib";
  for (char c : name)
    file += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return file + ".so";
}

HMODULE ToModule(void* handle) { return static_cast<HMODULE>(handle); }

HMODULE ProgramModule() { return ToModule(dlopen(nullptr, RTLD_LAZY)); }

void* ModuleHandle(HMODULE module) {
  return module ? static_cast<void*>(module) : dlopen(nullptr, RTLD_LAZY);
}

// dlsym also searches what the module links; only the module's own
// definitions count.
void* OwnSymbol(void* module, const char* name) {
  void* symbol = dlsym(module, name);
  if (!symbol)
    return nullptr;
  link_map* module_map = nullptr;
  if (dlinfo(module, RTLD_DI_LINKMAP, &module_map) != 0)
    return nullptr;
  Dl_info info{};
  void* extra = nullptr;
  if (!dladdr1(symbol, &info, &extra, RTLD_DL_LINKMAP))
    return nullptr;
  return static_cast<link_map*>(extra) == module_map ? symbol : nullptr;
}

const PlatformExportTable* ExportTableOf(void* module) {
  return static_cast<const PlatformExportTable*>(OwnSymbol(module, "PlatformModuleExports"));
}

const PlatformExport* FindExport(void* module, LPCSTR name) {
  const PlatformExportTable* table = ExportTableOf(module);
  if (!table)
    return nullptr;
  for (int i = 0; i < table->count; i++) {
    const PlatformExport& entry = table->entries[i];
    if (IsOrdinal(name) ? entry.ordinal == OrdinalOf(name) : std::strcmp(entry.name, name) == 0)
      return &entry;
  }
  return nullptr;
}

HMODULE FailModule() {
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

} // namespace

HMODULE GetModuleHandleA(LPCSTR name) {
  if (!name)
    return ProgramModule();
  std::string file = IsPath(name) ? platform::PathToUtf8(name) : LibraryFileName(name);
  void* handle = dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!handle)
    return FailModule();
  // RTLD_NOLOAD still counts a reference; the module was loaded before and
  // stays loaded after this one is given back.
  dlclose(handle);
  return ToModule(handle);
}

HMODULE LoadLibraryA(LPCSTR name) {
  if (!name || !*name)
    return FailModule();
  if (IsPath(name)) {
    void* handle = dlopen(platform::PathToUtf8(name).c_str(), RTLD_NOW);
    return handle ? ToModule(handle) : FailModule();
  }
  std::string file = LibraryFileName(name);
  std::string beside_program = ProgramDirectory() + "/" + file;
  void* handle = dlopen(beside_program.c_str(), RTLD_NOW);
  if (!handle)
    handle = dlopen(file.c_str(), RTLD_NOW);
  return handle ? ToModule(handle) : FailModule();
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  void* handle = ModuleHandle(module);
  void* symbol = nullptr;
  if (name && IsOrdinal(name)) {
    const PlatformExport* entry = FindExport(handle, name);
    symbol = entry ? OwnSymbol(handle, entry->name) : nullptr;
  } else if (name) {
    symbol = OwnSymbol(handle, name);
  }
  if (!symbol) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module) {
  if (!module || dlclose(module) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int PlatformArgumentCount(HMODULE module, LPCSTR functionName) {
  if (!functionName)
    return -1;
  const PlatformExport* entry = FindExport(ModuleHandle(module), functionName);
  return entry ? entry->argumentCount : -1;
}
