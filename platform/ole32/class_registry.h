// Inside ole32: the classes the component runtime can create.
//
// Two kinds of entry, as in the Windows registry and class table:
// - server entries: a ProgID, its CLSID and the library that serves it
//   (loaded on first creation, then asked through DllGetClassObject);
// - class objects a program registered at run time (CoRegisterClassObject),
//   which are found before any server entry of the same CLSID.
// The process-wide instance starts with the built-in server table; tests
// change it through the registration hooks and put it back with reset().
// Every operation takes the registry's lock, and none calls into an object
// while holding it.
#pragma once

#include "ole32/unknown.h"

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class ClassRegistry {
public:
  ClassRegistry();
  ~ClassRegistry();
  ClassRegistry(const ClassRegistry&) = delete;
  ClassRegistry& operator=(const ClassRegistry&) = delete;

  // ProgIDs compare without regard to ASCII letter case.
  HRESULT clsidFromProgId(std::u16string_view progId, CLSID* clsid) const;
  void registerServer(std::u16string_view progId, const CLSID& clsid, std::string_view module);
  // Removes every entry of the class; REGDB_E_CLASSNOTREG when it had none.
  HRESULT unregisterClass(const CLSID& clsid);
  // Back to the built-in server table without class objects.
  void reset();

  HRESULT registerClassObject(const CLSID& clsid, IUnknown* object, DWORD* cookie);
  HRESULT revokeClassObject(DWORD cookie);
  // The class object as `iid`: a registered one first, else from its server.
  HRESULT getClassObject(const CLSID& clsid, REFIID iid, void** object);

private:
  struct ServerEntry {
    std::u16string progId;
    CLSID clsid;
    std::string module;
  };
  struct ClassObjectEntry {
    DWORD cookie;
    CLSID clsid;
    IUnknown* object; // holds one reference
  };

  std::vector<IUnknown*> takeClassObjects();

  mutable std::mutex mutex_;
  std::vector<ServerEntry> servers_;
  std::vector<ClassObjectEntry> classObjects_;
  DWORD nextCookie_ = 1;
};

ClassRegistry& ProcessClassRegistry();
