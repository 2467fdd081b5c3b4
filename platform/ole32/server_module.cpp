#include "ole32/server_module.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace {

constexpr DWORD kErrorModNotFound = 126;

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);

std::string OwnDirectory() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&GetClassObjectFromServer), &info) || !info.dli_fname)
    return {};
  std::string path = info.dli_fname;
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void* OpenLibrary(const std::string& module) {
  static const std::string directory = OwnDirectory();
  if (!directory.empty()) {
    if (void* handle = dlopen((directory + module).c_str(), RTLD_NOW | RTLD_LOCAL))
      return handle;
  }
  return dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Loaded libraries by name; never closed (see the header).
void* LoadedLibrary(const std::string& module) {
  static std::mutex mutex;
  static std::map<std::string, void*> loaded;
  std::lock_guard lock(mutex);
  auto found = loaded.find(module);
  if (found != loaded.end())
    return found->second;
  void* handle = OpenLibrary(module);
  if (handle)
    loaded.emplace(module, handle);
  return handle;
}

} // namespace

HRESULT GetClassObjectFromServer(const std::string& module, REFCLSID clsid, REFIID iid, void** object) {
  void* library = LoadedLibrary(module);
  if (!library)
    return HRESULT_FROM_WIN32(kErrorModNotFound);
  auto entry = reinterpret_cast<DllGetClassObjectFunction>(dlsym(library, "DllGetClassObject"));
  if (!entry)
    return CO_E_ERRORINDLL;
  return entry(clsid, iid, object);
}
