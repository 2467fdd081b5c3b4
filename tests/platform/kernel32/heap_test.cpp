#include "kernel32/heap.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char kLiteral[] = "a literal";

TEST(ProcessHeap, ZeroedAllocationAndGrowth) {
  HANDLE heap = GetProcessHeap();
  auto* block = static_cast<unsigned char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 64));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 64; i++)
    EXPECT_EQ(block[i], 0);
  std::memset(block, 0xAB, 64);
  block = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[63], 0xAB);
  EXPECT_EQ(block[4095], 0);
  EXPECT_TRUE(HeapFree(heap, 0, block));
}

TEST(ProcessHeap, RefusesWhatNoHeapCouldGive) {
  EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, SIZE_MAX / 2), nullptr);
  EXPECT_EQ(HeapAlloc(nullptr, 0, 16), nullptr);
}

TEST(ProgramImage, LiteralsAreInsideHeapBlocksAreNot) {
  EXPECT_TRUE(PlatformAddressInProgramImage(kLiteral));
  EXPECT_TRUE(PlatformAddressInProgramImage("another literal"));
  void* block = HeapAlloc(GetProcessHeap(), 0, 16);
  EXPECT_FALSE(PlatformAddressInProgramImage(block));
  HeapFree(GetProcessHeap(), 0, block);
  int local = 0;
  EXPECT_FALSE(PlatformAddressInProgramImage(&local));
}

} // namespace
