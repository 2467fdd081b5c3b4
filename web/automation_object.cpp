#include "web/automation_object.h"

#include "kernel32/conversion.h"
#include "ole32/object_creation.h"
#include "oleaut32/bstr.h"
#include "oleaut32/safe_array.h"
#include "oleaut32/variant.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

std::u16string Wide(TextRef text) { return platform::ToUtf16(CP_ACP, text.View()); }

// A missing text becomes a null string.
BSTR NewString(TextRef text) {
  if (text.IsEmpty())
    return nullptr;
  std::u16string wide = Wide(text);
  return SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
}

SAFEARRAY* NewByteArray(ByteRef bytes) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.Length()));
  void* data = nullptr;
  if (array && bytes.Length() > 0 && SUCCEEDED(SafeArrayAccessData(array, &data))) {
    std::memcpy(data, bytes.Data(), static_cast<size_t>(bytes.Length()));
    SafeArrayUnaccessData(array);
  }
  return array;
}

ByteSet CopyOfByteArray(SAFEARRAY* array) {
  LONG low = 0, high = -1;
  void* data = nullptr;
  if (!array || FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high)) ||
      high < low || FAILED(SafeArrayAccessData(array, &data)))
    return {};
  ByteSet bytes = ByteSet::Copy(data, static_cast<size_t>(high - low + 1));
  SafeArrayUnaccessData(array);
  return bytes;
}

// Arguments as the object reads them: a variant each, with the byte arrays
// that references point at kept beside them.
class ArgumentVariants {
public:
  explicit ArgumentVariants(std::initializer_list<AutomationArg> args) : values_(args.size()), inner_(args.size()) {
    // The last argument comes first.
    size_t slot = args.size();
    for (const AutomationArg& arg : args)
      Fill(--slot, arg);
  }
  ~ArgumentVariants() {
    for (VARIANT& v : values_)
      VariantClear(&v);
    for (VARIANT& v : inner_)
      VariantClear(&v);
  }
  ArgumentVariants(const ArgumentVariants&) = delete;
  ArgumentVariants& operator=(const ArgumentVariants&) = delete;
  VARIANT* Data() { return values_.data(); }
  UINT Count() const { return static_cast<UINT>(values_.size()); }

private:
  void Fill(size_t slot, const AutomationArg& arg) {
    VARIANT& v = values_[slot];
    VariantInit(&v);
    VariantInit(&inner_[slot]);
    switch (arg.kind) {
    case AutomationArg::Kind::Text:
      v.vt = VT_BSTR;
      v.bstrVal = NewString(arg.text);
      break;
    case AutomationArg::Kind::Integer:
      v.vt = VT_I4;
      v.lVal = arg.integer;
      break;
    case AutomationArg::Kind::Logical:
      v.vt = VT_BOOL;
      v.boolVal = arg.integer ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case AutomationArg::Kind::Bytes:
      v.vt = VT_ARRAY | VT_UI1;
      v.parray = NewByteArray(arg.bytes);
      break;
    case AutomationArg::Kind::BytesByReference:
      inner_[slot].vt = VT_ARRAY | VT_UI1;
      inner_[slot].parray = NewByteArray(arg.bytes);
      v.vt = VT_BYREF | VT_VARIANT;
      v.pvarVal = &inner_[slot];
      break;
    }
  }

  std::vector<VARIANT> values_;
  std::vector<VARIANT> inner_;
};

struct ResultVariant {
  ResultVariant() { VariantInit(&value); }
  ~ResultVariant() { VariantClear(&value); }
  ResultVariant(const ResultVariant&) = delete;
  ResultVariant& operator=(const ResultVariant&) = delete;
  VARIANT value;
};

} // namespace

AutomationObject AutomationObject::Create(TextRef progId) {
  std::u16string name = Wide(progId);
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(name.c_str(), &clsid)) && FAILED(CLSIDFromString(name.c_str(), &clsid)))
    return {};
  void* object = nullptr;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, &object);
  if (hr == E_INVALIDARG)
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch, &object);
  if (FAILED(hr) || !object)
    return {};
  auto* dispatch = static_cast<IDispatch*>(object);
  if (FAILED(OleRun(dispatch))) {
    dispatch->Release();
    return {};
  }
  return AutomationObject(dispatch);
}

AutomationObject::AutomationObject(AutomationObject&& other) noexcept
    : object_(std::exchange(other.object_, nullptr)), last_(other.last_) {}

AutomationObject& AutomationObject::operator=(AutomationObject&& other) noexcept {
  if (this != &other) {
    if (object_)
      object_->Release();
    object_ = std::exchange(other.object_, nullptr);
    last_ = other.last_;
  }
  return *this;
}

AutomationObject::~AutomationObject() {
  if (object_)
    object_->Release();
}

HRESULT AutomationObject::Invoke(TextRef name, WORD flags, VARIANT* args, UINT count, bool namedPut, VARIANT* result) {
  if (!object_)
    return last_ = E_POINTER;
  std::u16string wide = Wide(name);
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  last_ = object_->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  if (FAILED(last_))
    return last_;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{args, namedPut ? &put : nullptr, count, namedPut ? 1u : 0u};
  return last_ = object_->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
}

HRESULT AutomationObject::CallMethod(TextRef name, std::initializer_list<AutomationArg> args) {
  ArgumentVariants variants(args);
  ResultVariant result;
  return Invoke(name, DISPATCH_METHOD, variants.Data(), variants.Count(), false, &result.value);
}

HRESULT AutomationObject::PutIndexed(TextRef name, int32_t index, AutomationArg value) {
  // The value is the last argument, after the index.
  ArgumentVariants variants({AutomationArg::Integer(index), value});
  return Invoke(name, DISPATCH_PROPERTYPUT, variants.Data(), variants.Count(), true, nullptr);
}

TextValue AutomationObject::GetText(TextRef name) {
  ResultVariant result;
  if (FAILED(Invoke(name, DISPATCH_PROPERTYGET, nullptr, 0, false, &result.value)) || result.value.vt != VT_BSTR)
    return {};
  BSTR text = result.value.bstrVal;
  std::string ansi = platform::FromUtf16(CP_ACP, std::u16string_view(text ? text : u"", text ? SysStringLen(text) : 0));
  return TextValue::Copy(ansi.data(), ansi.size());
}

ByteSet AutomationObject::GetBytes(TextRef name) {
  ResultVariant result;
  if (FAILED(Invoke(name, DISPATCH_PROPERTYGET, nullptr, 0, false, &result.value)))
    return {};
  if (result.value.vt == (VT_ARRAY | VT_UI1))
    return CopyOfByteArray(result.value.parray);
  ResultVariant converted;
  if (FAILED(VariantChangeType(&converted.value, &result.value, 0, VT_ARRAY | VT_UI1)))
    return {};
  return CopyOfByteArray(converted.value.parray);
}
