// The shell's allocator: the memory of item identifier lists and of
// whatever else the shell hands its callers to release.
//
// One allocator serves the whole process and lives until its exit; AddRef
// and Release count references but never end it. It knows every block it
// gave out, so DidAlloc is exact and Free, Realloc and GetSize leave a block
// that is not its own alone.
#pragma once

#include "ole32/unknown.h"

inline constexpr IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class IMalloc : public IUnknown {
public:
  // A block of `bytes` (0 gives a block of its own too), or null.
  virtual void* Alloc(SIZE_T bytes) = 0;
  // Null block: Alloc. 0 bytes: Free, then null. Otherwise the block moved
  // or grown, or null with the block left as it was.
  virtual void* Realloc(void* block, SIZE_T bytes) = 0;
  // Null and blocks of another allocator are ignored.
  virtual void Free(void* block) = 0;
  // The size asked for, or (SIZE_T)-1 for null and foreign blocks.
  virtual SIZE_T GetSize(void* block) = 0;
  // 1 for a live block of this allocator, 0 otherwise, -1 for null.
  virtual int DidAlloc(void* block) = 0;
  virtual void HeapMinimize() = 0;

protected:
  ~IMalloc() = default;
};

using LPMALLOC = IMalloc*;

// The shell's allocator with a new reference; E_INVALIDARG for a null slot.
PLATFORM_API HRESULT SHGetMalloc(LPMALLOC* allocator);
