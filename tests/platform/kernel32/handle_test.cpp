#include "kernel32/handle.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace {

class Probe : public KernelObject {
public:
  static constexpr KernelObjectKind kKind = KernelObjectKind::File;
  Probe() : KernelObject(kKind) {}
};

TEST(HandleTable, HandlesAreNeverZeroInvalidOrReused) {
  HandleTable table;
  std::set<HANDLE> seen;
  for (int round = 0; round < 100; round++) {
    HANDLE handle = table.Insert(std::make_shared<Probe>());
    EXPECT_NE(handle, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(seen.insert(handle).second) << "handle reused";
    EXPECT_TRUE(table.Remove(handle, KernelObjectKind::File));
  }
  EXPECT_EQ(table.Count(), 0u);
}

TEST(HandleTable, KindsAreKeptApart) {
  HandleTable table;
  HANDLE handle = table.Insert(std::make_shared<Probe>());
  EXPECT_EQ(table.Find(handle, KernelObjectKind::Thread), nullptr);
  EXPECT_FALSE(table.Remove(handle, KernelObjectKind::Find));
  EXPECT_NE(table.FindAs<Probe>(handle), nullptr);
  EXPECT_EQ(table.Find(nullptr, KernelObjectKind::File), nullptr);
  EXPECT_EQ(table.Find(INVALID_HANDLE_VALUE, KernelObjectKind::File), nullptr);
}

TEST(HandleTable, AnObjectLooksUpOutlivesItsHandle) {
  HandleTable table;
  auto object = std::make_shared<Probe>();
  std::weak_ptr<Probe> watch = object;
  HANDLE handle = table.Insert(std::move(object));
  std::shared_ptr<Probe> held = table.FindAs<Probe>(handle);
  EXPECT_TRUE(table.Remove(handle, KernelObjectKind::File));
  EXPECT_FALSE(table.Remove(handle, KernelObjectKind::File));
  EXPECT_EQ(table.Find(handle, KernelObjectKind::File), nullptr);
  EXPECT_FALSE(watch.expired());
  held.reset();
  EXPECT_TRUE(watch.expired());
}

TEST(HandleTable, ThreadsInsertingAtOnceGetDistinctHandles) {
  HandleTable table;
  std::vector<std::vector<HANDLE>> got(4);
  std::vector<std::thread> threads;
  for (auto& handles : got)
    threads.emplace_back([&table, &handles] {
      for (int i = 0; i < 1000; i++) {
        handles.push_back(table.Insert(std::make_shared<Probe>()));
        if (i % 2)
          table.Remove(handles.back(), KernelObjectKind::File);
      }
    });
  for (std::thread& thread : threads)
    thread.join();
  std::set<HANDLE> all;
  for (const auto& handles : got)
    all.insert(handles.begin(), handles.end());
  EXPECT_EQ(all.size(), 4000u);
  EXPECT_EQ(table.Count(), 2000u);
}

} // namespace
