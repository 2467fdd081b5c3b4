#include "user32/display_registry.h"

#include "user32/headless_backend.h"
#include "user32/window_system.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace user32 {
namespace {

constexpr const char* kHeadless = "headless";
constexpr const char* kDefaultDisplay = "x11";

struct Registered {
  std::string name;
  PlatformDisplayBackendFactory factory;
};

std::mutex registry_mutex;

std::vector<Registered>& Registry() {
  static std::vector<Registered>* registry = new std::vector<Registered>(); // used from static initialisers
  return *registry;
}

PlatformDisplayBackendFactory FindFactory(const std::string& name) {
  std::lock_guard lock(registry_mutex);
  for (const Registered& entry : Registry()) {
    if (entry.name == name)
      return entry.factory;
  }
  return nullptr;
}

std::string OwnFolder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&ChooseDisplay), &info) || !info.dli_fname)
    return {};
  std::string path = info.dli_fname;
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The display's library registers it from a static initialiser; it stays
// loaded for the life of the process.
void LoadDisplayLibrary(const std::string& name) {
  std::string file = "lib" + name + "display.so";
  std::string beside = OwnFolder() + file;
  if (!beside.empty() && dlopen(beside.c_str(), RTLD_NOW | RTLD_GLOBAL))
    return;
  dlopen(file.c_str(), RTLD_NOW | RTLD_GLOBAL);
}

} // namespace

std::shared_ptr<DisplayBackend> ChooseDisplay(std::string* name) {
  const char* wanted = std::getenv("CANTIVA_DISPLAY");
  std::string choice = wanted && *wanted ? wanted : kDefaultDisplay;
  if (choice != kHeadless) {
    PlatformDisplayBackendFactory factory = FindFactory(choice);
    if (!factory) {
      LoadDisplayLibrary(choice);
      factory = FindFactory(choice);
    }
    if (factory) {
      if (DisplayBackend* display = factory()) {
        *name = choice;
        return std::shared_ptr<DisplayBackend>(display);
      }
    }
  }
  *name = kHeadless;
  return MakeHeadlessDisplay();
}

} // namespace user32

void PlatformRegisterDisplayBackend(const char* name, PlatformDisplayBackendFactory factory) {
  if (!name || !factory)
    return;
  std::lock_guard lock(user32::registry_mutex);
  user32::Registry().push_back({name, factory});
}

const char* PlatformDisplayName() {
  std::lock_guard lock(user32::System().mutex);
  return user32::System().displayName.c_str();
}
