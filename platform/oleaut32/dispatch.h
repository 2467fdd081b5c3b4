// Late-bound calls on component objects (IDispatch).
//
// A caller finds a member's DISPID by name (GetIDsOfNames) and calls it with
// Invoke: a method, a property read or a property write. Arguments travel
// in DISPPARAMS in REVERSE order, as on Windows: rgvarg[0] is the last
// argument. Named arguments come first in rgvarg with their DISPIDs in
// rgdispidNamedArgs; a property write passes its new value as the one named
// argument DISPID_PROPERTYPUT, any index arguments after it. An omitted
// optional argument may also be passed as VT_ERROR with DISP_E_PARAMNOTFOUND.
#pragma once

#include "ole32/unknown.h"
#include "oleaut32/variant.h"

using DISPID = LONG;
using LCID = DWORD;

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  LPVOID pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};

// Type descriptions are not offered by this layer's objects; the interface
// is only named.
class ITypeInfo;

class IDispatch : public IUnknown {
public:
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
  // names[0] is the member, any further names its parameters.
  virtual HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* exception, UINT* argumentError) = 0;

protected:
  ~IDispatch() = default;
};
