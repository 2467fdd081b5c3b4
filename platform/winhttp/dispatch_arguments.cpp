#include "winhttp/dispatch_arguments.h"

namespace {

const DISPPARAMS kNoArguments = {nullptr, nullptr, 0, 0};

bool IsOmitted(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

const VARIANT* Followed(const VARIANT* v) {
  while (v && v->vt == (VT_BYREF | VT_VARIANT))
    v = v->pvarVal;
  return v;
}

} // namespace

DispatchArguments::DispatchArguments(const DISPPARAMS* params) : params_(params ? params : &kNoArguments) {
  positional_ = params_->cArgs >= params_->cNamedArgs ? params_->cArgs - params_->cNamedArgs : 0;
}

HRESULT DispatchArguments::check(UINT required, UINT maximum) const {
  if (positional_ < required || positional_ > maximum)
    return DISP_E_BADPARAMCOUNT;
  for (UINT i = 0; i < required; i++) {
    if (!present(i))
      return DISP_E_PARAMNOTOPTIONAL;
  }
  return S_OK;
}

bool DispatchArguments::present(UINT index) const {
  const VARIANT* v = value(index);
  return v && !IsOmitted(*v);
}

const VARIANT* DispatchArguments::value(UINT index) const {
  if (index >= positional_ || !params_->rgvarg)
    return nullptr;
  return Followed(&params_->rgvarg[entryOf(index)]);
}

const VARIANT* DispatchArguments::putValue() const {
  for (UINT i = 0; i < params_->cNamedArgs && params_->rgdispidNamedArgs && params_->rgvarg; i++) {
    if (params_->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT)
      return Followed(&params_->rgvarg[i]);
  }
  return nullptr;
}

bool DispatchArguments::onlyPutNamed() const {
  for (UINT i = 0; i < params_->cNamedArgs; i++) {
    if (!params_->rgdispidNamedArgs || params_->rgdispidNamedArgs[i] != DISPID_PROPERTYPUT)
      return false;
  }
  return true;
}

HRESULT DispatchArguments::convert(const VARIANT* v, UINT entry, VARTYPE type, VARIANT* out) {
  VariantInit(out);
  HRESULT hr = v ? VariantChangeType(out, v, 0, type) : DISP_E_PARAMNOTFOUND;
  if (FAILED(hr))
    failedEntry_ = entry;
  return hr;
}

HRESULT DispatchArguments::readLongAt(const VARIANT* v, UINT entry, LONG* out) {
  VARIANT converted;
  if (HRESULT hr = convert(v, entry, VT_I4, &converted); FAILED(hr))
    return hr;
  *out = converted.lVal;
  return S_OK;
}

HRESULT DispatchArguments::readBoolAt(const VARIANT* v, UINT entry, bool* out) {
  VARIANT converted;
  if (HRESULT hr = convert(v, entry, VT_BOOL, &converted); FAILED(hr))
    return hr;
  *out = converted.boolVal != VARIANT_FALSE;
  return S_OK;
}

HRESULT DispatchArguments::readStringAt(const VARIANT* v, UINT entry, std::u16string* out) {
  VARIANT converted;
  if (HRESULT hr = convert(v, entry, VT_BSTR, &converted); FAILED(hr))
    return hr;
  if (converted.bstrVal)
    out->assign(converted.bstrVal, SysStringLen(converted.bstrVal));
  else
    out->clear();
  VariantClear(&converted);
  return S_OK;
}

HRESULT DispatchArguments::readLong(UINT index, LONG* out) {
  return readLongAt(value(index), entryOf(index), out);
}

HRESULT DispatchArguments::readBool(UINT index, bool* out) {
  return readBoolAt(value(index), entryOf(index), out);
}

HRESULT DispatchArguments::readString(UINT index, std::u16string* out) {
  return readStringAt(value(index), entryOf(index), out);
}

HRESULT DispatchArguments::readPutBool(bool* out) { return readBoolAt(putValue(), 0, out); }

HRESULT DispatchArguments::readPutString(std::u16string* out) { return readStringAt(putValue(), 0, out); }

HRESULT DispatchArguments::readPutLong(LONG* out) { return readLongAt(putValue(), 0, out); }
