#include "ole32/com_init.h"
#include "ole32/com_ptr.h"
#include "ole32/object_creation.h"
#include "oleaut32/dispatch.h"
#include "winhttp/winhttp.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr const char16_t* kProgId = u"WinHttp.WinHttpRequest.5.1";
constexpr CLSID kTestClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

class ComRuntime : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override {
    PlatformComResetClasses();
    CoUninitialize();
  }
};

// A class object that makes plain objects and counts them.
class CountingObject final : public IUnknown {
public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override {
    ULONG left = --references;
    if (left == 0)
      delete this;
    return left;
  }
  ULONG references = 1;
};

class CountingFactory final : public IClassFactory {
public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  HRESULT CreateInstance(IUnknown*, REFIID iid, void** object) override {
    created++;
    auto* made = new CountingObject();
    HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    return hr;
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
  ULONG references = 1;
  int created = 0;
};

ComPtr<IDispatch> CreateRequest(DWORD context, HRESULT* result) {
  CLSID clsid{};
  ComPtr<IDispatch> object;
  *result = CLSIDFromProgID(kProgId, &clsid);
  if (SUCCEEDED(*result))
    *result = CoCreateInstance(clsid, nullptr, context, IID_IDispatch, object.putVoid());
  return object;
}

TEST(ComInit, CountsPerThread) {
  std::thread([] {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
  }).join();
}

TEST(ComInit, CreationNeedsAnInitialisedThread) {
  std::thread([] {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_WinHttpRequest, nullptr, CLSCTX_SERVER, IID_IDispatch, &object),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
  }).join();
}

TEST_F(ComRuntime, ProgIdNamesTheRequestClassInAnyCase) {
  for (const char16_t* name : {kProgId, u"winhttp.winhttprequest.5.1", u"WINHTTP.WINHTTPREQUEST.5.1"}) {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(name, &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_WinHttpRequest);
  }
  CLSID clsid = CLSID_WinHttpRequest;
  EXPECT_EQ(CLSIDFromProgID(u"WinHttp.WinHttpRequest.5", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(clsid, CLSID_NULL);
}

TEST_F(ComRuntime, CreatesTheRequestObjectInTheServerContexts) {
  for (DWORD context : {CLSCTX_SERVER, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, CLSCTX_INPROC_SERVER}) {
    HRESULT hr = E_FAIL;
    ComPtr<IDispatch> request = CreateRequest(context, &hr);
    EXPECT_EQ(hr, S_OK) << "context " << context;
    ASSERT_TRUE(request);
    EXPECT_EQ(OleRun(request.get()), S_OK);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(request->QueryInterface(IID_IUnknown, unknown.putVoid()), S_OK);
  }
}

TEST_F(ComRuntime, RefusesContextsItCannotServe) {
  struct Case {
    DWORD context;
    HRESULT expected;
  } cases[] = {{0, E_INVALIDARG}, {0x100000, E_INVALIDARG}, {CLSCTX_REMOTE_SERVER, REGDB_E_CLASSNOTREG}};
  for (const Case& c : cases) {
    HRESULT hr = S_OK;
    ComPtr<IDispatch> request = CreateRequest(c.context, &hr);
    EXPECT_EQ(hr, c.expected) << "context " << c.context;
    EXPECT_FALSE(request);
  }
}

TEST_F(ComRuntime, RefusesAggregationAndUnknownInterfaces) {
  CountingObject outer;
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_WinHttpRequest, &outer, CLSCTX_SERVER, IID_IUnknown, &object),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(CLSID_WinHttpRequest, nullptr, CLSCTX_SERVER, IID_IClassFactory, &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
}

TEST_F(ComRuntime, AnUnregisteredClassCannotBeCreatedUntilReset) {
  ASSERT_EQ(PlatformComUnregisterClass(CLSID_WinHttpRequest), S_OK);
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(kProgId, &clsid), CO_E_CLASSSTRING);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_WinHttpRequest, nullptr, CLSCTX_SERVER, IID_IDispatch, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(PlatformComUnregisterClass(CLSID_WinHttpRequest), REGDB_E_CLASSNOTREG);

  PlatformComResetClasses();
  HRESULT hr = E_FAIL;
  EXPECT_TRUE(CreateRequest(CLSCTX_SERVER, &hr));
  EXPECT_EQ(hr, S_OK);
}

TEST_F(ComRuntime, AServerLibraryThatIsMissingFailsCreation) {
  ASSERT_EQ(PlatformComRegisterServer(u"Test.Missing.1", kTestClass, "libno_such_server.so"), S_OK);
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"test.missing.1", &clsid), S_OK);
  EXPECT_EQ(clsid, kTestClass);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IUnknown, &object), HRESULT_FROM_WIN32(126));
  EXPECT_EQ(object, nullptr);
}

TEST_F(ComRuntime, ARegisteredClassObjectComesBeforeTheServerUntilRevoked) {
  CountingFactory factory;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_WinHttpRequest, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &cookie),
            S_OK);
  {
    ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(CLSID_WinHttpRequest, nullptr, CLSCTX_SERVER, IID_IUnknown, object.putVoid()),
              S_OK);
    EXPECT_EQ(factory.created, 1);
    // The fake offers no IDispatch, so asking for one fails through it.
    void* dispatch = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_WinHttpRequest, nullptr, CLSCTX_SERVER, IID_IDispatch, &dispatch),
              E_NOINTERFACE);
    EXPECT_EQ(factory.created, 2);
  }
  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
  EXPECT_EQ(factory.references, 1u);
  HRESULT hr = E_FAIL;
  EXPECT_TRUE(CreateRequest(CLSCTX_SERVER, &hr));
  EXPECT_EQ(factory.created, 2);
}

TEST_F(ComRuntime, OleRunNeedsAnObject) { EXPECT_EQ(OleRun(nullptr), E_INVALIDARG); }

} // namespace
