// The request object's component plumbing: references, interfaces, name
// lookup and the Invoke switch from a DISPID to the member behind it.
#include "oleaut32/dispatch.h"
#include "winhttp/dispatch_arguments.h"
#include "winhttp/winhttp.h"
#include "winhttp/winhttp_request.h"

#include <cstring>
#include <new>

namespace {

enum MemberId : DISPID {
  kOpen = 1,
  kSetRequestHeader = 2,
  kGetResponseHeader = 3,
  kGetAllResponseHeaders = 4,
  kSend = 5,
  kOption = 6,
  kStatus = 7,
  kStatusText = 8,
  kResponseText = 9,
  kResponseBody = 10,
  kSetProxy = 13,
  kSetCredentials = 14,
  kWaitForResponse = 15,
  kSetTimeouts = 16,
  kSetProxyCredentials = 101,
};

struct Member {
  const char* name;
  DISPID id;
};

constexpr Member kMembers[] = {
    {"Open", kOpen},
    {"SetRequestHeader", kSetRequestHeader},
    {"GetResponseHeader", kGetResponseHeader},
    {"GetAllResponseHeaders", kGetAllResponseHeaders},
    {"Send", kSend},
    {"Option", kOption},
    {"Status", kStatus},
    {"StatusText", kStatusText},
    {"ResponseText", kResponseText},
    {"ResponseBody", kResponseBody},
    {"SetProxy", kSetProxy},
    {"SetCredentials", kSetCredentials},
    {"WaitForResponse", kWaitForResponse},
    {"SetTimeouts", kSetTimeouts},
    {"SetProxyCredentials", kSetProxyCredentials},
};

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool NameMatches(LPCOLESTR given, const char* name) {
  size_t i = 0;
  for (; name[i]; i++) {
    if (!given[i] || FoldAscii(given[i]) != FoldAscii(static_cast<char16_t>(name[i])))
      return false;
  }
  return given[i] == 0;
}

DISPID FindMember(LPCOLESTR name) {
  if (!name)
    return DISPID_UNKNOWN;
  for (const Member& m : kMembers) {
    if (NameMatches(name, m.name))
      return m.id;
  }
  return DISPID_UNKNOWN;
}

} // namespace

HRESULT WinHttpRequest::QueryInterface(REFIID iid, void** object) {
  if (!object)
    return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG WinHttpRequest::AddRef() { return ++references_; }

ULONG WinHttpRequest::Release() {
  ULONG left = --references_;
  if (left == 0)
    delete this; // the object owns itself; its last reference ends it
  return left;
}

HRESULT WinHttpRequest::GetTypeInfoCount(UINT* count) {
  if (!count)
    return E_INVALIDARG;
  *count = 0;
  return S_OK;
}

HRESULT WinHttpRequest::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info)
    *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT WinHttpRequest::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL)
    return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0)
    return E_INVALIDARG;
  ids[0] = FindMember(names[0]);
  // The members' parameters have no names to look up.
  for (UINT i = 1; i < count; i++)
    ids[i] = DISPID_UNKNOWN;
  return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT WinHttpRequest::Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if (iid != IID_NULL)
    return DISP_E_UNKNOWNINTERFACE;
  VARIANT unwanted;
  VARIANT* out = result ? result : &unwanted;
  VariantInit(out);
  DispatchArguments args(params);
  HRESULT hr = S_OK;
  if (!args.onlyPutNamed()) {
    hr = DISP_E_NONAMEDARGS;
  } else {
    try {
      hr = invokeMember(member, flags, args, out);
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    } catch (...) {
      hr = WINHTTP_E_INTERNAL_ERROR;
    }
  }
  if (!result || FAILED(hr))
    VariantClear(out);
  if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND || hr == DISP_E_OVERFLOW) && argumentError)
    *argumentError = args.failedEntry();
  if (FAILED(hr) && exception) {
    std::memset(exception, 0, sizeof *exception);
    exception->scode = hr;
  }
  return hr;
}

HRESULT WinHttpRequest::invokeMember(DISPID member, WORD flags, DispatchArguments& args, VARIANT* result) {
  if (member == kOption)
    return invokeOption(flags, args, result);
  bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  bool call = flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  if (put || !call)
    return DISP_E_MEMBERNOTFOUND;
  HRESULT hr = S_OK;
  switch (member) {
  case kOpen:
    return open(args);
  case kSetRequestHeader:
    return setRequestHeader(args);
  case kSend:
    return send(args);
  case kSetTimeouts:
    return setTimeouts(args);
  case kSetProxy:
    return setProxy(args);
  case kSetCredentials:
    return setCredentials(args, false);
  case kSetProxyCredentials:
    return setCredentials(args, true);
  case kGetResponseHeader:
    return getResponseHeader(args, result);
  case kWaitForResponse:
    if (FAILED(hr = args.check(0, 1)))
      return hr;
    if (!response_)
      return WINHTTP_E_CANNOT_CALL_BEFORE_SEND;
    result->vt = VT_BOOL;
    result->boolVal = VARIANT_TRUE; // Send only returns once the response is complete
    return S_OK;
  default:
    break;
  }
  // The remaining members are reads without arguments.
  auto read = [&](HRESULT (WinHttpRequest::*getter)(VARIANT*)) {
    HRESULT checked = args.check(0, 0);
    return FAILED(checked) ? checked : (this->*getter)(result);
  };
  switch (member) {
  case kStatus:
    return read(&WinHttpRequest::getStatus);
  case kStatusText:
    return read(&WinHttpRequest::getStatusText);
  case kResponseText:
    return read(&WinHttpRequest::getResponseText);
  case kResponseBody:
    return read(&WinHttpRequest::getResponseBody);
  case kGetAllResponseHeaders:
    return read(&WinHttpRequest::getAllResponseHeaders);
  default:
    return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT WinHttpRequest::invokeOption(WORD flags, DispatchArguments& args, VARIANT* result) {
  if (HRESULT hr = args.check(1, 1); FAILED(hr))
    return hr;
  LONG index = 0;
  if (HRESULT hr = args.readLong(0, &index); FAILED(hr))
    return hr;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (!args.putValue())
      return DISP_E_PARAMNOTOPTIONAL;
    return putOption(index, args);
  }
  if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))
    return getOption(index, result);
  return DISP_E_MEMBERNOTFOUND;
}
