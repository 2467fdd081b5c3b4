// Heap blocks: every text, byte set and array the system owns is one block
// of the process heap.
//
// AllocBlock never returns null: an exhausted heap ends the program with the
// "内存不足" box. FreeBlock never fails: it ignores null, static values (inside
// the program's own image), and addresses below 65536.
#pragma once

#include <cstddef>

// Takes the process heap for all runtime allocations (start-up does this
// first; a memory operation that finds it missing fetches it again).
void TakeProcessHeap();

void* AllocBlock(size_t size);
// A null block behaves as AllocBlock; bytes added at the end are not cleared.
void* ResizeBlock(void* block, size_t size);
void FreeBlock(const void* block);

// Bytes the block can hold without being resized.
size_t BlockCapacity(const void* block);

// A literal or constant that is part of the program itself.
bool IsStaticValue(const void* address);
