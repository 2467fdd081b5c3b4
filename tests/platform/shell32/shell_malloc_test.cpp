#include "shell32/shell_malloc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

class ShellMallocTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(SHGetMalloc(&allocator), S_OK); }
  void TearDown() override {
    if (allocator)
      allocator->Release();
  }
  IMalloc* allocator = nullptr;
};

TEST_F(ShellMallocTest, IsOneObjectAnsweringForIUnknownAndIMalloc) {
  EXPECT_EQ(SHGetMalloc(nullptr), E_INVALIDARG);
  IMalloc* again = nullptr;
  ASSERT_EQ(SHGetMalloc(&again), S_OK);
  EXPECT_EQ(again, allocator);
  again->Release();

  for (const IID& iid : {IID_IUnknown, IID_IMalloc}) {
    void* object = nullptr;
    EXPECT_EQ(allocator->QueryInterface(iid, &object), S_OK);
    EXPECT_EQ(object, allocator);
    static_cast<IMalloc*>(object)->Release();
  }
  void* object = allocator;
  EXPECT_EQ(allocator->QueryInterface(IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(allocator->QueryInterface(IID_IMalloc, nullptr), E_POINTER);
}

TEST_F(ShellMallocTest, ReleasingEveryReferenceLeavesItUsable) {
  ULONG after_add = allocator->AddRef();
  EXPECT_GE(after_add, 2u);
  EXPECT_EQ(allocator->Release(), after_add - 1);
  allocator->Release();
  allocator->Release();
  allocator = nullptr;
  IMalloc* again = nullptr;
  ASSERT_EQ(SHGetMalloc(&again), S_OK);
  void* block = again->Alloc(4);
  EXPECT_NE(block, nullptr);
  again->Free(block);
  again->Release();
}

TEST_F(ShellMallocTest, KnowsTheSizeOfEachOfItsBlocks) {
  void* block = allocator->Alloc(5);
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "abcde", 5);
  EXPECT_EQ(allocator->GetSize(block), 5u);
  EXPECT_EQ(allocator->DidAlloc(block), 1);

  void* grown = allocator->Realloc(block, 4000);
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(std::memcmp(grown, "abcde", 5), 0);
  EXPECT_EQ(allocator->GetSize(grown), 4000u);
  if (grown != block) {
    EXPECT_EQ(allocator->DidAlloc(block), 0);
  }

  EXPECT_EQ(allocator->Realloc(grown, 0), nullptr);
  EXPECT_EQ(allocator->DidAlloc(grown), 0);

  void* empty = allocator->Alloc(0);
  void* other = allocator->Alloc(0);
  ASSERT_NE(empty, nullptr);
  EXPECT_NE(empty, other);
  EXPECT_EQ(allocator->GetSize(empty), 0u);
  allocator->Free(empty);
  allocator->Free(other);

  void* fresh = allocator->Realloc(nullptr, 3);
  EXPECT_EQ(allocator->GetSize(fresh), 3u);
  allocator->Free(fresh);
}

TEST_F(ShellMallocTest, LeavesBlocksOfOthersAlone) {
  void* foreign = std::malloc(8);
  EXPECT_EQ(allocator->DidAlloc(foreign), 0);
  EXPECT_EQ(allocator->GetSize(foreign), static_cast<SIZE_T>(-1));
  EXPECT_EQ(allocator->Realloc(foreign, 16), nullptr);
  allocator->Free(foreign);
  std::memset(foreign, 0, 8);
  std::free(foreign);

  EXPECT_EQ(allocator->DidAlloc(nullptr), -1);
  EXPECT_EQ(allocator->GetSize(nullptr), static_cast<SIZE_T>(-1));
  allocator->Free(nullptr);
  allocator->HeapMinimize();
}

// Callers of other languages reach the allocator through its table of
// functions, slot by slot in the order IUnknown and IMalloc define.
struct MallocTable {
  HRESULT (*QueryInterface)(IMalloc*, const IID&, void**);
  ULONG (*AddRef)(IMalloc*);
  ULONG (*Release)(IMalloc*);
  void* (*Alloc)(IMalloc*, SIZE_T);
  void* (*Realloc)(IMalloc*, void*, SIZE_T);
  void (*Free)(IMalloc*, void*);
  SIZE_T (*GetSize)(IMalloc*, void*);
  int (*DidAlloc)(IMalloc*, void*);
  void (*HeapMinimize)(IMalloc*);
};

TEST_F(ShellMallocTest, ItsFunctionTableHasTheWindowsOrder) {
  const MallocTable* table = *reinterpret_cast<MallocTable* const*>(allocator);
  void* object = nullptr;
  EXPECT_EQ(table->QueryInterface(allocator, IID_IMalloc, &object), S_OK);
  EXPECT_EQ(object, allocator);
  ULONG up = table->AddRef(allocator);
  EXPECT_EQ(table->Release(allocator), up - 1);
  table->Release(allocator);
  void* block = table->Alloc(allocator, 9);
  EXPECT_EQ(table->GetSize(allocator, block), 9u);
  block = table->Realloc(allocator, block, 10);
  EXPECT_EQ(table->DidAlloc(allocator, block), 1);
  table->Free(allocator, block);
  EXPECT_EQ(table->DidAlloc(allocator, block), 0);
  table->HeapMinimize(allocator);
}

} // namespace
