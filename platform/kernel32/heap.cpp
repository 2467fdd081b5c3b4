#include "kernel32/heap.h"

#include <link.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace {

// Larger requests fail as on an exhausted heap; nothing the system does comes
// near it, and it keeps a failing request from reaching the allocator.
constexpr SIZE_T kLargestBlock = SIZE_T{1} << 40;

int process_heap_tag;

bool IsProcessHeap(HANDLE heap) { return heap == &process_heap_tag; }

struct ImageRange {
  uintptr_t begin = 0;
  uintptr_t end = 0;
};

struct ProgramImage {
  ImageRange ranges[16];
  int count = 0;
};

int CollectMainImage(dl_phdr_info* info, size_t, void* data) {
  auto* image = static_cast<ProgramImage*>(data);
  // The first object reported is the program itself.
  for (int i = 0; i < info->dlpi_phnum && image->count < 16; i++) {
    const ElfW(Phdr)& ph = info->dlpi_phdr[i];
    if (ph.p_type != PT_LOAD)
      continue;
    uintptr_t begin = info->dlpi_addr + ph.p_vaddr;
    image->ranges[image->count++] = {begin, begin + ph.p_memsz};
  }
  return 1;
}

const ProgramImage& MainImage() {
  static const ProgramImage image = [] {
    ProgramImage collected;
    dl_iterate_phdr(CollectMainImage, &collected);
    return collected;
  }();
  return image;
}

} // namespace

HANDLE GetProcessHeap() { return &process_heap_tag; }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!IsProcessHeap(heap) || bytes > kLargestBlock)
    return nullptr;
  SIZE_T size = bytes ? bytes : 1;
  return (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, size) : std::malloc(size);
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (!IsProcessHeap(heap) || !block || bytes > kLargestBlock)
    return nullptr;
  SIZE_T old_size = malloc_usable_size(block);
  void* moved = std::realloc(block, bytes ? bytes : 1);
  if (moved && (flags & HEAP_ZERO_MEMORY) && bytes > old_size)
    std::memset(static_cast<char*>(moved) + old_size, 0, bytes - old_size);
  return moved;
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID block) {
  if (!IsProcessHeap(heap))
    return FALSE;
  std::free(block);
  return TRUE;
}

SIZE_T HeapSize(HANDLE heap, DWORD, LPCVOID block) {
  if (!IsProcessHeap(heap) || !block)
    return static_cast<SIZE_T>(-1);
  return malloc_usable_size(const_cast<void*>(block));
}

BOOL PlatformAddressInProgramImage(LPCVOID address) {
  auto at = reinterpret_cast<uintptr_t>(address);
  const ProgramImage& image = MainImage();
  for (int i = 0; i < image.count; i++) {
    if (at >= image.ranges[i].begin && at < image.ranges[i].end)
      return TRUE;
  }
  return FALSE;
}
