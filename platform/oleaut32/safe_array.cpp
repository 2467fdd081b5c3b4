#include "oleaut32/safe_array.h"

#include "ole32/unknown.h"

#include <cstdlib>
#include <cstring>

namespace {

// The element type sits in a 16-byte header before the descriptor, which
// keeps the descriptor itself exactly the Windows record, suitably aligned.
constexpr size_t kHeaderSize = 16;

size_t ElementSize(VARTYPE type) {
  if (type == VT_BSTR || type == VT_UNKNOWN || type == VT_DISPATCH)
    return sizeof(void*);
  if (type == VT_VARIANT)
    return sizeof(VARIANT);
  return ScalarSize(type);
}

USHORT FeaturesOf(VARTYPE type) {
  USHORT features = FADF_HAVEVARTYPE;
  if (type == VT_BSTR)
    features |= FADF_BSTR;
  else if (type == VT_UNKNOWN)
    features |= FADF_UNKNOWN;
  else if (type == VT_DISPATCH)
    features |= FADF_DISPATCH;
  else if (type == VT_VARIANT)
    features |= FADF_VARIANT;
  return features;
}

unsigned char* HeaderOf(SAFEARRAY* array) { return reinterpret_cast<unsigned char*>(array) - kHeaderSize; }

VARTYPE TypeOf(SAFEARRAY* array) {
  VARTYPE type = 0;
  std::memcpy(&type, HeaderOf(array), sizeof type);
  return type;
}

// The element count, or false when it does not fit in memory.
bool ElementCount(const SAFEARRAY* array, size_t* count) {
  size_t total = 1;
  for (USHORT i = 0; i < array->cDims; i++) {
    size_t n = array->rgsabound[i].cElements;
    if (n != 0 && total > SIZE_MAX / n)
      return false;
    total *= n;
  }
  *count = total;
  return true;
}

size_t DataBytes(const SAFEARRAY* array) {
  size_t count = 0;
  ElementCount(array, &count);
  return count * array->cbElements;
}

SAFEARRAY* AllocateDescriptor(VARTYPE type, UINT dims) {
  size_t size = kHeaderSize + sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND);
  auto* block = static_cast<unsigned char*>(std::calloc(1, size));
  if (!block)
    return nullptr;
  std::memcpy(block, &type, sizeof type);
  auto* array = reinterpret_cast<SAFEARRAY*>(block + kHeaderSize);
  array->cDims = static_cast<USHORT>(dims);
  array->fFeatures = FeaturesOf(type);
  array->cbElements = static_cast<ULONG>(ElementSize(type));
  return array;
}

void FreeDescriptor(SAFEARRAY* array) { std::free(HeaderOf(array)); }

void ReleaseElements(SAFEARRAY* array) {
  size_t count = 0;
  if (!array->pvData || !ElementCount(array, &count))
    return;
  if (array->fFeatures & FADF_BSTR) {
    auto* items = static_cast<BSTR*>(array->pvData);
    for (size_t i = 0; i < count; i++)
      SysFreeString(items[i]);
  } else if (array->fFeatures & FADF_VARIANT) {
    auto* items = static_cast<VARIANT*>(array->pvData);
    for (size_t i = 0; i < count; i++)
      VariantClear(&items[i]);
  } else if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
    auto* items = static_cast<IUnknown**>(array->pvData);
    for (size_t i = 0; i < count; i++) {
      if (items[i])
        items[i]->Release();
    }
  }
}

HRESULT CopyElements(SAFEARRAY* from, SAFEARRAY* to) {
  size_t count = 0;
  ElementCount(from, &count);
  if (from->fFeatures & FADF_BSTR) {
    auto* source = static_cast<BSTR*>(from->pvData);
    auto* dest = static_cast<BSTR*>(to->pvData);
    for (size_t i = 0; i < count; i++) {
      if (source[i] && !(dest[i] = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source[i]),
                                                         SysStringByteLen(source[i]))))
        return E_OUTOFMEMORY;
    }
  } else if (from->fFeatures & FADF_VARIANT) {
    auto* source = static_cast<VARIANT*>(from->pvData);
    auto* dest = static_cast<VARIANT*>(to->pvData);
    for (size_t i = 0; i < count; i++) {
      if (HRESULT hr = VariantCopy(&dest[i], &source[i]); FAILED(hr))
        return hr;
    }
  } else {
    std::memcpy(to->pvData, from->pvData, count * from->cbElements);
    if (from->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
      auto* items = static_cast<IUnknown**>(to->pvData);
      for (size_t i = 0; i < count; i++) {
        if (items[i])
          items[i]->AddRef();
      }
    }
  }
  return S_OK;
}

// The stored bound of dimension `dim` (1-based, declaration order).
SAFEARRAYBOUND* BoundOf(SAFEARRAY* array, UINT dim) {
  if (!array || dim < 1 || dim > array->cDims)
    return nullptr;
  return &array->rgsabound[array->cDims - dim];
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE type, UINT dims, SAFEARRAYBOUND* bounds) {
  if (dims == 0 || dims > 0xFFFF || !bounds || ElementSize(type) == 0)
    return nullptr;
  SAFEARRAY* array = AllocateDescriptor(type, dims);
  if (!array)
    return nullptr;
  for (UINT i = 0; i < dims; i++)
    array->rgsabound[dims - 1 - i] = bounds[i];
  size_t count = 0;
  if (!ElementCount(array, &count) || count > SIZE_MAX / array->cbElements) {
    FreeDescriptor(array);
    return nullptr;
  }
  array->pvData = std::calloc(count ? count : 1, array->cbElements);
  if (!array->pvData) {
    FreeDescriptor(array);
    return nullptr;
  }
  return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE type, LONG lowerBound, ULONG count) {
  SAFEARRAYBOUND bound = {count, lowerBound};
  return SafeArrayCreate(type, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
  if (!array)
    return S_OK;
  if (array->cLocks > 0)
    return DISP_E_ARRAYISLOCKED;
  ReleaseElements(array);
  std::free(array->pvData);
  FreeDescriptor(array);
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy) {
  if (!array || !copy)
    return E_INVALIDARG;
  *copy = nullptr;
  SAFEARRAY* made = AllocateDescriptor(TypeOf(array), array->cDims);
  if (!made)
    return E_OUTOFMEMORY;
  made->fFeatures = array->fFeatures;
  made->cbElements = array->cbElements;
  std::memcpy(made->rgsabound, array->rgsabound, array->cDims * sizeof(SAFEARRAYBOUND));
  size_t bytes = DataBytes(array);
  made->pvData = std::calloc(bytes ? bytes : 1, 1);
  if (!made->pvData) {
    FreeDescriptor(made);
    return E_OUTOFMEMORY;
  }
  if (HRESULT hr = CopyElements(array, made); FAILED(hr)) {
    SafeArrayDestroy(made);
    return hr;
  }
  *copy = made;
  return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* array) {
  if (!array)
    return E_INVALIDARG;
  if (array->cLocks == 0xFFFFFFFF)
    return E_UNEXPECTED;
  array->cLocks++;
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array) {
  if (!array)
    return E_INVALIDARG;
  if (array->cLocks == 0)
    return E_UNEXPECTED;
  array->cLocks--;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
  if (!array || !data)
    return E_INVALIDARG;
  if (HRESULT hr = SafeArrayLock(array); FAILED(hr))
    return hr;
  *data = array->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) { return SafeArrayUnlock(array); }

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound)
    return E_INVALIDARG;
  SAFEARRAYBOUND* b = BoundOf(array, dim);
  if (!b)
    return DISP_E_BADINDEX;
  *bound = b->lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound)
    return E_INVALIDARG;
  SAFEARRAYBOUND* b = BoundOf(array, dim);
  if (!b)
    return DISP_E_BADINDEX;
  *bound = static_cast<LONG>(static_cast<int64_t>(b->lLbound) + b->cElements - 1);
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) { return array ? array->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* array) { return array ? array->cbElements : 0; }

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* type) {
  if (!array || !type)
    return E_INVALIDARG;
  *type = TypeOf(array);
  return S_OK;
}
