#include "ole32/object_creation.h"

#include "ole32/class_registry.h"
#include "ole32/com_init.h"
#include "ole32/com_ptr.h"

#include <string_view>

namespace {

constexpr DWORD kKnownContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

HRESULT CheckContext(DWORD context) {
  if (context == 0 || (context & ~kKnownContexts) != 0)
    return E_INVALIDARG;
  if ((context & (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER)) == 0)
    return REGDB_E_CLASSNOTREG;
  return S_OK;
}

std::u16string_view TextOf(LPCOLESTR text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

} // namespace

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (!progId || !clsid)
    return E_INVALIDARG;
  *clsid = CLSID_NULL;
  return ProcessClassRegistry().clsidFromProgId(progId, clsid);
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, LPVOID, REFIID iid, void** object) {
  if (!object)
    return E_POINTER;
  *object = nullptr;
  if (!ComInitializedOnThisThread())
    return CO_E_NOTINITIALIZED;
  if (HRESULT hr = CheckContext(context); FAILED(hr))
    return hr;
  return ProcessClassRegistry().getClassObject(clsid, iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  if (!object)
    return E_POINTER;
  *object = nullptr;
  ComPtr<IClassFactory> factory;
  if (HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, factory.putVoid());
      FAILED(hr))
    return hr;
  HRESULT hr = factory->CreateInstance(outer, iid, object);
  if (FAILED(hr))
    *object = nullptr;
  return hr;
}

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* object, DWORD context, DWORD, DWORD* cookie) {
  if (!object || !cookie)
    return E_INVALIDARG;
  if (CheckContext(context) == E_INVALIDARG)
    return E_INVALIDARG;
  return ProcessClassRegistry().registerClassObject(clsid, object, cookie);
}

HRESULT CoRevokeClassObject(DWORD cookie) { return ProcessClassRegistry().revokeClassObject(cookie); }

HRESULT OleRun(IUnknown* object) { return object ? S_OK : E_INVALIDARG; }

HRESULT PlatformComRegisterServer(LPCOLESTR progId, REFCLSID clsid, LPCSTR module) {
  if (!progId || !*progId || !module || !*module)
    return E_INVALIDARG;
  ProcessClassRegistry().registerServer(TextOf(progId), clsid, module);
  return S_OK;
}

HRESULT PlatformComUnregisterClass(REFCLSID clsid) { return ProcessClassRegistry().unregisterClass(clsid); }

void PlatformComResetClasses() { ProcessClassRegistry().reset(); }
