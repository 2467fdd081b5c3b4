#include "oleaut32/variant.h"

#include "ole32/unknown.h"
#include "oleaut32/safe_array.h"

#include <cstring>

namespace {

bool IsInterface(VARTYPE base) { return base == VT_UNKNOWN || base == VT_DISPATCH; }

bool IsKnownType(VARTYPE type) {
  VARTYPE base = type & VT_TYPEMASK;
  if (type & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF))
    return false;
  if (base == VT_EMPTY || base == VT_NULL)
    return (type & (VT_ARRAY | VT_BYREF)) == 0;
  return ScalarSize(base) != 0 || base == VT_BSTR || base == VT_VARIANT || IsInterface(base);
}

void ResetToEmpty(VARIANT* value) {
  std::memset(value, 0, sizeof *value);
  value->vt = VT_EMPTY;
}

HRESULT CopyOwned(VARIANT* dest, const VARIANT* source) {
  VARTYPE base = source->vt & VT_TYPEMASK;
  VARIANT made = *source;
  if (source->vt & VT_ARRAY) {
    made.parray = nullptr;
    if (source->parray) {
      if (HRESULT hr = SafeArrayCopy(source->parray, &made.parray); FAILED(hr))
        return hr;
    }
  } else if (base == VT_BSTR && source->bstrVal) {
    made.bstrVal =
        SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source->bstrVal), SysStringByteLen(source->bstrVal));
    if (!made.bstrVal)
      return E_OUTOFMEMORY;
  } else if (IsInterface(base) && source->punkVal) {
    source->punkVal->AddRef();
  }
  *dest = made;
  return S_OK;
}

// A copy of the value a by-reference variant points at.
HRESULT CopyReferenced(VARIANT* dest, const VARIANT* source) {
  VARTYPE type = source->vt & ~VT_BYREF;
  VARTYPE base = type & VT_TYPEMASK;
  if (!source->byref)
    return E_INVALIDARG;
  if (type == VT_VARIANT) {
    if (source->pvarVal->vt & VT_BYREF)
      return E_INVALIDARG;
    return CopyOwned(dest, source->pvarVal);
  }
  VARIANT direct;
  ResetToEmpty(&direct);
  direct.vt = type;
  if (type & VT_ARRAY)
    direct.parray = *source->pparray;
  else if (base == VT_BSTR || IsInterface(base))
    direct.bstrVal = *source->pbstrVal;
  else
    std::memcpy(&direct.llVal, source->byref, ScalarSize(base));
  return CopyOwned(dest, &direct);
}

} // namespace

void VariantInit(VARIANTARG* value) {
  if (value)
    ResetToEmpty(value);
}

HRESULT VariantClear(VARIANTARG* value) {
  if (!value)
    return E_INVALIDARG;
  if (!IsKnownType(value->vt))
    return DISP_E_BADVARTYPE;
  VARTYPE base = value->vt & VT_TYPEMASK;
  if (value->vt & VT_BYREF) {
    // Points into storage owned elsewhere.
  } else if (value->vt & VT_ARRAY) {
    if (HRESULT hr = SafeArrayDestroy(value->parray); FAILED(hr))
      return hr;
  } else if (base == VT_BSTR) {
    SysFreeString(value->bstrVal);
  } else if (IsInterface(base) && value->punkVal) {
    value->punkVal->Release();
  }
  ResetToEmpty(value);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* source) {
  if (!dest || !source)
    return E_INVALIDARG;
  if (dest == source)
    return S_OK;
  if (!IsKnownType(source->vt))
    return DISP_E_BADVARTYPE;
  if (HRESULT hr = VariantClear(dest); FAILED(hr))
    return hr;
  if (source->vt & VT_BYREF) {
    *dest = *source;
    return S_OK;
  }
  return CopyOwned(dest, source);
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* source) {
  if (!dest || !source)
    return E_INVALIDARG;
  if (!IsKnownType(source->vt))
    return DISP_E_BADVARTYPE;
  if (!(source->vt & VT_BYREF))
    return dest == source ? S_OK : VariantCopy(dest, source);
  VARIANT copy;
  ResetToEmpty(&copy);
  if (HRESULT hr = CopyReferenced(&copy, source); FAILED(hr))
    return hr;
  if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}
