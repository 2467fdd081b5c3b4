#include "automation.h"

#include "ole32/object_creation.h"
#include "oleaut32/safe_array.h"

#include <cstring>

Value Value::Text(std::u16string_view text) {
  Value v;
  v.v_.vt = VT_BSTR;
  v.v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

Value Value::NullText() {
  Value v;
  v.v_.vt = VT_BSTR;
  v.v_.bstrVal = nullptr;
  return v;
}

Value Value::Long(LONG n) {
  Value v;
  v.v_.vt = VT_I4;
  v.v_.lVal = n;
  return v;
}

Value Value::Bool(bool b) {
  Value v;
  v.v_.vt = VT_BOOL;
  v.v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

Value Value::Bytes(std::string_view bytes) {
  Value v;
  v.v_.vt = VT_ARRAY | VT_UI1;
  v.v_.parray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!bytes.empty())
    std::memcpy(v.v_.parray->pvData, bytes.data(), bytes.size());
  return v;
}

Value Value::Reference(Value& target) {
  Value v;
  v.v_.vt = VT_BYREF | VT_VARIANT;
  v.v_.pvarVal = &target.v_;
  return v;
}

std::string Value::bytes() const {
  if (v_.vt != (VT_ARRAY | VT_UI1) || !v_.parray)
    return "";
  return std::string(static_cast<const char*>(v_.parray->pvData), v_.parray->rgsabound[0].cElements);
}

std::string Value::text() const {
  std::string out;
  if (v_.vt != VT_BSTR)
    return out;
  for (UINT i = 0; i < SysStringLen(v_.bstrVal); i++)
    out.push_back(static_cast<char>(v_.bstrVal[i]));
  return out;
}

HRESULT Automation::Create(Automation* out) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(u"WinHttp.WinHttpRequest.5.1", &clsid);
  if (FAILED(hr))
    return hr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, out->object_.putVoid());
  return FAILED(hr) ? hr : OleRun(out->object_.get());
}

HRESULT Automation::invoke(std::u16string name, WORD flags, std::vector<Value>& args, Value* result,
                           Value* putValue) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {name.data()};
  if (HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, 0, &id); FAILED(hr))
    return hr;
  // rgvarg: the named put value first, then the arguments last to first.
  std::vector<VARIANT> rgvarg;
  if (putValue)
    rgvarg.push_back(*putValue->get());
  for (size_t i = args.size(); i-- > 0;)
    rgvarg.push_back(*args[i].get());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {rgvarg.data(), putValue ? &named : nullptr, static_cast<UINT>(rgvarg.size()),
                       putValue ? 1u : 0u};
  UINT argumentError = 0;
  return object_->Invoke(id, IID_NULL, 0, flags, &params, result ? result->get() : nullptr, nullptr,
                         &argumentError);
}

HRESULT Automation::call(std::u16string name, std::vector<Value> args, Value* result) {
  return invoke(std::move(name), DISPATCH_METHOD, args, result, nullptr);
}

HRESULT Automation::get(std::u16string name, Value* result, std::vector<Value> index) {
  return invoke(std::move(name), DISPATCH_PROPERTYGET, index, result, nullptr);
}

HRESULT Automation::put(std::u16string name, std::vector<Value> index, Value value) {
  return invoke(std::move(name), DISPATCH_PROPERTYPUT, index, nullptr, &value);
}
