#include "ole32/class_registry.h"

#include "ole32/server_module.h"

#include <algorithm>

namespace {

// What a Windows installation registers for the classes the system creates.
struct BuiltInServer {
  const char16_t* progId;
  CLSID clsid;
  const char* module;
};

constexpr BuiltInServer kBuiltInServers[] = {
    {u"WinHttp.WinHttpRequest.5.1",
     {0x2087c2f4, 0x2cef, 0x4953, {0xa8, 0xab, 0x66, 0x77, 0x9b, 0x67, 0x04, 0x95}},
     "libwinhttp.so"},
};

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameProgId(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           return FoldAscii(x) == FoldAscii(y);
         });
}

} // namespace

ClassRegistry::ClassRegistry() { reset(); }

// The process-wide registry ends at exit, when libraries that served the
// registered objects may be gone already: their references are dropped
// without calling them.
ClassRegistry::~ClassRegistry() = default;

HRESULT ClassRegistry::clsidFromProgId(std::u16string_view progId, CLSID* clsid) const {
  std::lock_guard lock(mutex_);
  for (const ServerEntry& entry : servers_) {
    if (SameProgId(entry.progId, progId)) {
      *clsid = entry.clsid;
      return S_OK;
    }
  }
  return CO_E_CLASSSTRING;
}

void ClassRegistry::registerServer(std::u16string_view progId, const CLSID& clsid, std::string_view module) {
  std::lock_guard lock(mutex_);
  std::erase_if(servers_,
                [&](const ServerEntry& e) { return e.clsid == clsid || SameProgId(e.progId, progId); });
  servers_.push_back({std::u16string(progId), clsid, std::string(module)});
}

HRESULT ClassRegistry::unregisterClass(const CLSID& clsid) {
  std::vector<IUnknown*> released;
  size_t removed = 0;
  {
    std::lock_guard lock(mutex_);
    removed += std::erase_if(servers_, [&](const ServerEntry& e) { return e.clsid == clsid; });
    for (const ClassObjectEntry& e : classObjects_) {
      if (e.clsid == clsid)
        released.push_back(e.object);
    }
    removed += std::erase_if(classObjects_, [&](const ClassObjectEntry& e) { return e.clsid == clsid; });
  }
  for (IUnknown* object : released)
    object->Release();
  return removed ? S_OK : REGDB_E_CLASSNOTREG;
}

std::vector<IUnknown*> ClassRegistry::takeClassObjects() {
  std::vector<IUnknown*> taken;
  for (const ClassObjectEntry& e : classObjects_)
    taken.push_back(e.object);
  classObjects_.clear();
  return taken;
}

void ClassRegistry::reset() {
  std::vector<IUnknown*> released;
  {
    std::lock_guard lock(mutex_);
    released = takeClassObjects();
    servers_.clear();
    for (const BuiltInServer& s : kBuiltInServers)
      servers_.push_back({s.progId, s.clsid, s.module});
  }
  for (IUnknown* object : released)
    object->Release();
}

HRESULT ClassRegistry::registerClassObject(const CLSID& clsid, IUnknown* object, DWORD* cookie) {
  object->AddRef();
  std::lock_guard lock(mutex_);
  *cookie = nextCookie_++;
  classObjects_.push_back({*cookie, clsid, object});
  return S_OK;
}

HRESULT ClassRegistry::revokeClassObject(DWORD cookie) {
  IUnknown* revoked = nullptr;
  {
    std::lock_guard lock(mutex_);
    auto found = std::find_if(classObjects_.begin(), classObjects_.end(),
                              [&](const ClassObjectEntry& e) { return e.cookie == cookie; });
    if (found == classObjects_.end())
      return CO_E_OBJNOTREG;
    revoked = found->object;
    classObjects_.erase(found);
  }
  revoked->Release();
  return S_OK;
}

HRESULT ClassRegistry::getClassObject(const CLSID& clsid, REFIID iid, void** object) {
  IUnknown* registered = nullptr;
  std::string module;
  {
    std::lock_guard lock(mutex_);
    // The newest registration of a class wins, as a later CoRegisterClassObject does.
    for (auto e = classObjects_.rbegin(); e != classObjects_.rend(); ++e) {
      if (e->clsid == clsid) {
        registered = e->object;
        registered->AddRef();
        break;
      }
    }
    if (!registered) {
      for (const ServerEntry& e : servers_) {
        if (e.clsid == clsid)
          module = e.module;
      }
    }
  }
  if (registered) {
    HRESULT hr = registered->QueryInterface(iid, object);
    registered->Release();
    return hr;
  }
  if (module.empty())
    return REGDB_E_CLASSNOTREG;
  return GetClassObjectFromServer(module, clsid, iid, object);
}

ClassRegistry& ProcessClassRegistry() {
  static ClassRegistry registry;
  return registry;
}
