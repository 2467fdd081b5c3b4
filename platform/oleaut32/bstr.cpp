#include "oleaut32/bstr.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kPrefix = sizeof(DWORD);
constexpr size_t kTerminator = sizeof(OLECHAR);
// Well below what a 32-bit length can describe, as on Windows.
constexpr size_t kLargestBytes = 0x7FFFFFF0;

unsigned char* BlockOf(BSTR text) { return reinterpret_cast<unsigned char*>(text) - kPrefix; }

BSTR Allocate(const void* bytes, size_t length) {
  if (length > kLargestBytes)
    return nullptr;
  // One spare byte keeps an odd byte length terminated by a whole unit.
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + length + 1 + kTerminator));
  if (!block)
    return nullptr;
  DWORD prefix = static_cast<DWORD>(length);
  std::memcpy(block, &prefix, kPrefix);
  if (bytes)
    std::memcpy(block + kPrefix, bytes, length);
  else
    std::memset(block + kPrefix, 0, length);
  std::memset(block + kPrefix + length, 0, 1 + kTerminator);
  return reinterpret_cast<BSTR>(block + kPrefix);
}

} // namespace

BSTR SysAllocString(LPCOLESTR text) {
  if (!text)
    return nullptr;
  size_t units = 0;
  while (text[units])
    units++;
  return Allocate(text, units * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(LPCOLESTR text, UINT length) {
  return Allocate(text, size_t{length} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length) { return Allocate(bytes, length); }

void SysFreeString(BSTR text) {
  if (text)
    std::free(BlockOf(text));
}

UINT SysStringByteLen(BSTR text) {
  if (!text)
    return 0;
  DWORD length = 0;
  std::memcpy(&length, BlockOf(text), kPrefix);
  return length;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }
