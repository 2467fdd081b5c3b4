#include "runtime/scratch_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ScratchBuffer, SmallBuffersComeFromThePoolAndGoBack) {
  ScratchPool& pool = CoreScratchPool();
  int32_t before = pool.SlotsInUse();
  {
    ScratchBuffer a(pool);
    a.Resize(100);
    EXPECT_TRUE(a.InPoolSlot());
    EXPECT_EQ(a.Capacity(), 512u);
    EXPECT_EQ(pool.SlotsInUse(), before + 1);
    a.Resize(512);
    EXPECT_TRUE(a.InPoolSlot());
  }
  EXPECT_EQ(pool.SlotsInUse(), before);
}

TEST(ScratchBuffer, OutgrowingASlotMovesToTheHeapWithItsBytes) {
  ScratchPool& pool = CoreScratchPool();
  int32_t before = pool.SlotsInUse();
  ScratchBuffer buffer(pool);
  for (int i = 0; i < 200; i++)
    buffer.Append(&i, sizeof i);
  EXPECT_FALSE(buffer.InPoolSlot());
  EXPECT_EQ(pool.SlotsInUse(), before);
  EXPECT_EQ(buffer.Size(), 800u);
  // Each growth past the capacity resizes to the new size plus 128.
  EXPECT_GE(buffer.Capacity(), 800u);
  EXPECT_LE(buffer.Capacity(), 800u + 128u);
  int last;
  std::memcpy(&last, buffer.Data() + 796, sizeof last);
  EXPECT_EQ(last, 199);
}

TEST(ScratchBuffer, HeapBlocksKeepSlackAndShrinkOnlyPastIt) {
  struct Step {
    size_t size;
    size_t capacity;
  } steps[] = {
      {1000, 1128}, // first heap allocation: size plus 128
      {1100, 1128}, // fits: kept
      {872, 1128},  // 256 below capacity: kept
      {871, 999},   // more than 256 below: resized to size plus 128
      {2000, 2128}, // too small: resized
  };
  ScratchBuffer buffer(CoreScratchPool());
  for (const Step& s : steps) {
    buffer.Resize(s.size);
    EXPECT_EQ(buffer.Capacity(), s.capacity) << "after resizing to " << s.size;
    EXPECT_EQ(buffer.Size(), s.size);
  }
  buffer.Resize(0);
  EXPECT_EQ(buffer.Data(), nullptr);
}

TEST(ScratchBuffer, AFullPoolFallsBackToTheHeap) {
  ScratchPool& pool = DialogScratchPool();
  std::vector<std::unique_ptr<ScratchBuffer>> held;
  while (pool.SlotsInUse() < 48) {
    held.push_back(std::make_unique<ScratchBuffer>(pool));
    held.back()->Resize(8);
  }
  ScratchBuffer extra(pool);
  extra.Resize(8);
  EXPECT_FALSE(extra.InPoolSlot());
  EXPECT_EQ(extra.Capacity(), 136u);
  held.clear();
  EXPECT_EQ(pool.SlotsInUse(), 0);
}

} // namespace
