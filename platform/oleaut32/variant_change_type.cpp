// VariantChangeType: conversions between the value kinds the automation
// bridge passes (integers, logical values, reals, strings, byte arrays).
#include "oleaut32/safe_array.h"
#include "oleaut32/variant.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

// A scalar source value, read as a whole number where it is one.
struct Number {
  bool isReal = false;
  int64_t whole = 0;
  double real = 0;

  double asReal() const { return isReal ? real : static_cast<double>(whole); }
};

bool IsIntegerType(VARTYPE t) {
  switch (t) {
  case VT_I1:
  case VT_UI1:
  case VT_I2:
  case VT_UI2:
  case VT_I4:
  case VT_UI4:
  case VT_INT:
  case VT_UINT:
  case VT_I8:
  case VT_UI8:
    return true;
  default:
    return false;
  }
}

std::optional<Number> NumberOf(const VARIANT& v) {
  Number n;
  switch (v.vt) {
  case VT_EMPTY:
    return n;
  case VT_I1:
    n.whole = v.cVal;
    return n;
  case VT_UI1:
    n.whole = v.bVal;
    return n;
  case VT_I2:
    n.whole = v.iVal;
    return n;
  case VT_UI2:
    n.whole = v.uiVal;
    return n;
  case VT_I4:
  case VT_INT:
    n.whole = v.lVal;
    return n;
  case VT_UI4:
  case VT_UINT:
    n.whole = v.ulVal;
    return n;
  case VT_I8:
    n.whole = v.llVal;
    return n;
  case VT_UI8:
    if (v.ullVal > static_cast<ULONGLONG>(std::numeric_limits<int64_t>::max())) {
      n.isReal = true;
      n.real = static_cast<double>(v.ullVal);
    } else {
      n.whole = static_cast<int64_t>(v.ullVal);
    }
    return n;
  case VT_BOOL:
    n.whole = v.boolVal ? -1 : 0;
    return n;
  case VT_R4:
    n.isReal = true;
    n.real = v.fltVal;
    return n;
  case VT_R8:
    n.isReal = true;
    n.real = v.dblVal;
    return n;
  default:
    return std::nullopt;
  }
}

// The ASCII text of a string, or nothing when it holds other characters.
std::optional<std::string> AsciiOf(BSTR text) {
  std::string out;
  UINT length = SysStringLen(text);
  for (UINT i = 0; i < length; i++) {
    if (text[i] >= 0x80 || text[i] == 0)
      return std::nullopt;
    out.push_back(static_cast<char>(text[i]));
  }
  size_t first = out.find_first_not_of(" \t");
  if (first == std::string::npos)
    return std::string();
  return out.substr(first, out.find_last_not_of(" \t") - first + 1);
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n)
    return false;
  for (size_t i = 0; i < n; i++) {
    char c = a[i];
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
    if (c != b[i])
      return false;
  }
  return true;
}

std::optional<Number> ParseNumber(const std::string& text) {
  if (text.empty())
    return std::nullopt;
  Number n;
  errno = 0;
  char* end = nullptr;
  if (text.find_first_of(".eE") == std::string::npos) {
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (*end == 0 && errno == 0) {
      n.whole = v;
      return n;
    }
    errno = 0;
  }
  double d = std::strtod(text.c_str(), &end);
  if (*end != 0 || errno != 0)
    return std::nullopt;
  n.isReal = true;
  n.real = d;
  return n;
}

HRESULT NumberFromString(BSTR text, Number* out) {
  std::optional<std::string> ascii = AsciiOf(text);
  if (!ascii)
    return DISP_E_TYPEMISMATCH;
  std::optional<Number> n = ParseNumber(*ascii);
  if (!n)
    return DISP_E_TYPEMISMATCH;
  *out = *n;
  return S_OK;
}

HRESULT ToWhole(const Number& n, int64_t low, int64_t high, int64_t* out) {
  if (!n.isReal) {
    if (n.whole < low || n.whole > high)
      return DISP_E_OVERFLOW;
    *out = n.whole;
    return S_OK;
  }
  // Reals round half to even, as the platform's conversions do.
  double r = std::nearbyint(n.real);
  if (!std::isfinite(r) || r < static_cast<double>(low) || r > static_cast<double>(high))
    return DISP_E_OVERFLOW;
  *out = static_cast<int64_t>(r);
  return S_OK;
}

HRESULT StoreInteger(const Number& n, VARTYPE type, VARIANT* out) {
  int64_t v = 0;
  HRESULT hr = S_OK;
  switch (type) {
  case VT_I1:
    hr = ToWhole(n, INT8_MIN, INT8_MAX, &v);
    out->cVal = static_cast<char>(v);
    break;
  case VT_UI1:
    hr = ToWhole(n, 0, UINT8_MAX, &v);
    out->bVal = static_cast<BYTE>(v);
    break;
  case VT_I2:
    hr = ToWhole(n, INT16_MIN, INT16_MAX, &v);
    out->iVal = static_cast<SHORT>(v);
    break;
  case VT_UI2:
    hr = ToWhole(n, 0, UINT16_MAX, &v);
    out->uiVal = static_cast<USHORT>(v);
    break;
  case VT_I4:
  case VT_INT:
    hr = ToWhole(n, INT32_MIN, INT32_MAX, &v);
    out->lVal = static_cast<LONG>(v);
    break;
  case VT_UI4:
  case VT_UINT:
    hr = ToWhole(n, 0, UINT32_MAX, &v);
    out->ulVal = static_cast<ULONG>(v);
    break;
  case VT_I8:
    hr = ToWhole(n, INT64_MIN, INT64_MAX, &v);
    out->llVal = v;
    break;
  case VT_UI8:
    hr = ToWhole(n, 0, INT64_MAX, &v);
    out->ullVal = static_cast<ULONGLONG>(v);
    break;
  default:
    return DISP_E_TYPEMISMATCH;
  }
  if (SUCCEEDED(hr))
    out->vt = type;
  return hr;
}

BSTR StringFromAscii(const std::string& text) {
  std::u16string wide(text.begin(), text.end());
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string TextOfNumber(const VARIANT& v, const Number& n, USHORT flags) {
  if (v.vt == VT_BOOL) {
    if (flags & VARIANT_ALPHABOOL)
      return v.boolVal ? "True" : "False";
    return v.boolVal ? "-1" : "0";
  }
  if (v.vt == VT_EMPTY)
    return "";
  if (!n.isReal)
    return std::to_string(n.whole);
  char text[40];
  std::snprintf(text, sizeof text, v.vt == VT_R4 ? "%.7g" : "%.15g", n.real);
  return text;
}

HRESULT ToString(const VARIANT& v, USHORT flags, VARIANT* out) {
  if (v.vt == (VT_ARRAY | VT_UI1)) {
    void* data = nullptr;
    if (!v.parray || SafeArrayGetDim(v.parray) != 1 || FAILED(SafeArrayAccessData(v.parray, &data)))
      return DISP_E_TYPEMISMATCH;
    BSTR packed = SysAllocStringByteLen(static_cast<LPCSTR>(data), v.parray->rgsabound[0].cElements);
    SafeArrayUnaccessData(v.parray);
    if (!packed)
      return E_OUTOFMEMORY;
    out->vt = VT_BSTR;
    out->bstrVal = packed;
    return S_OK;
  }
  std::optional<Number> n = NumberOf(v);
  if (!n)
    return DISP_E_TYPEMISMATCH;
  BSTR text = StringFromAscii(TextOfNumber(v, *n, flags));
  if (!text)
    return E_OUTOFMEMORY;
  out->vt = VT_BSTR;
  out->bstrVal = text;
  return S_OK;
}

HRESULT ToBytes(const VARIANT& v, VARIANT* out) {
  if (v.vt != VT_BSTR)
    return DISP_E_TYPEMISMATCH;
  UINT length = SysStringByteLen(v.bstrVal);
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, length);
  if (!array)
    return E_OUTOFMEMORY;
  if (length)
    std::memcpy(array->pvData, v.bstrVal, length);
  out->vt = VT_ARRAY | VT_UI1;
  out->parray = array;
  return S_OK;
}

HRESULT ReadNumber(const VARIANT& v, Number* n) {
  if (v.vt == VT_BSTR)
    return NumberFromString(v.bstrVal, n);
  std::optional<Number> found = NumberOf(v);
  if (!found)
    return DISP_E_TYPEMISMATCH;
  *n = *found;
  return S_OK;
}

HRESULT ToBool(const VARIANT& v, VARIANT* out) {
  Number n;
  if (v.vt == VT_BSTR) {
    std::optional<std::string> ascii = AsciiOf(v.bstrVal);
    if (ascii && EqualsIgnoringCase(*ascii, "true"))
      n.whole = 1;
    else if (ascii && EqualsIgnoringCase(*ascii, "false"))
      n.whole = 0;
    else if (HRESULT hr = NumberFromString(v.bstrVal, &n); FAILED(hr))
      return hr;
  } else if (HRESULT hr = ReadNumber(v, &n); FAILED(hr)) {
    return hr;
  }
  out->vt = VT_BOOL;
  out->boolVal = n.asReal() != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ToReal(const VARIANT& v, VARTYPE type, VARIANT* out) {
  Number n;
  if (HRESULT hr = ReadNumber(v, &n); FAILED(hr))
    return hr;
  double d = n.asReal();
  if (type == VT_R4) {
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
      return DISP_E_OVERFLOW;
    out->fltVal = static_cast<float>(d);
  } else {
    out->dblVal = d;
  }
  out->vt = type;
  return S_OK;
}

// Converts a value that holds no by-reference mark.
HRESULT Convert(const VARIANT& v, USHORT flags, VARTYPE type, VARIANT* out) {
  if (type == VT_EMPTY) {
    out->vt = VT_EMPTY;
    return S_OK;
  }
  if (type == VT_BSTR)
    return ToString(v, flags, out);
  if (type == (VT_ARRAY | VT_UI1))
    return ToBytes(v, out);
  if (type == VT_BOOL)
    return ToBool(v, out);
  if (type == VT_R4 || type == VT_R8)
    return ToReal(v, type, out);
  if (IsIntegerType(type)) {
    Number n;
    if (HRESULT hr = ReadNumber(v, &n); FAILED(hr))
      return hr;
    return StoreInteger(n, type, out);
  }
  return DISP_E_TYPEMISMATCH;
}

} // namespace

HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* source, USHORT flags, VARTYPE type) {
  if (!dest || !source)
    return E_INVALIDARG;
  if (type & VT_BYREF)
    return DISP_E_BADVARTYPE;
  VARIANT direct;
  VariantInit(&direct);
  if (HRESULT hr = VariantCopyInd(&direct, source); FAILED(hr))
    return hr;
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr =
      direct.vt == type ? VariantCopy(&converted, &direct) : Convert(direct, flags, type, &converted);
  VariantClear(&direct);
  if (FAILED(hr))
    return hr;
  if (HRESULT cleared = VariantClear(dest); FAILED(cleared)) {
    VariantClear(&converted);
    return cleared;
  }
  *dest = converted;
  return S_OK;
}
