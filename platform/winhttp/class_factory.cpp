// The class object that ole32 gets from DllGetClassObject: it makes request
// objects. It is one static object; references to it count nothing.
#include "winhttp/winhttp.h"
#include "winhttp/winhttp_request.h"

#include <memory>
#include <new>

namespace {

class RequestFactory final : public IClassFactory {
public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object)
      return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }

  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object)
      return E_POINTER;
    *object = nullptr;
    if (outer)
      return CLASS_E_NOAGGREGATION;
    std::unique_ptr<WinHttpRequest> request(new (std::nothrow) WinHttpRequest());
    if (!request)
      return E_OUTOFMEMORY;
    HRESULT hr = request->QueryInterface(iid, object);
    // The creation reference goes; the caller's (if any) keeps the object.
    request.release()->Release();
    return hr;
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
};

RequestFactory factory;

} // namespace

HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object)
    return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_WinHttpRequest)
    return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

HRESULT DllCanUnloadNow() { return S_FALSE; }
