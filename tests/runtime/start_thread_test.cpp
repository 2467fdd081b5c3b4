#include "kernel32/handle.h"
#include "kernel32/thread.h"
#include "runtime/components.h"
#include "runtime/start_thread.h"
#include "runtime/thread_component.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

std::atomic<int> runs{0};
std::atomic<bool> release{false};

DWORD CountAndWait(void* parameter) {
  runs.fetch_add(1 + static_cast<int>(reinterpret_cast<intptr_t>(parameter)));
  while (!release.load())
    Sleep(1);
  return 17;
}

bool WaitFor(int value) {
  for (int i = 0; i < 5000 && runs.load() != value; i++)
    Sleep(1);
  return runs.load() == value;
}

TEST(StartThread, RunsAtOnceAndLeavesNoHandleWithoutAVariable) {
  runs = 0;
  release = true;
  int before = static_cast<int>(ProcessHandles().Count());
  EXPECT_TRUE(StartThread(CountAndWait));
  EXPECT_TRUE(WaitFor(1)); // parameter 0
  EXPECT_EQ(static_cast<int>(ProcessHandles().Count()), before);
}

TEST(StartThread, AHandleVariableKeepsAWaitableHandle) {
  runs = 0;
  release = false;
  HANDLE thread = nullptr;
  EXPECT_TRUE(StartThread(CountAndWait, reinterpret_cast<void*>(intptr_t{4}), &thread));
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(WaitFor(5));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  release = true;
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 17u);
  EXPECT_TRUE(CloseHandle(thread));
}

TEST(ThreadComponent, TheEndDeletesEveryRegisteredCriticalSection) {
  EXPECT_EQ(ThreadComponentNotify(ComponentExit, 0, 0), 0); // empty registry
  NewCriticalSection();
  NewCriticalSection();
  EXPECT_EQ(CriticalSectionCount(), 2);
  EXPECT_EQ(ThreadComponentNotify(ComponentExit, 0, 0), 0);
  EXPECT_EQ(CriticalSectionCount(), 0);
  EXPECT_EQ(ThreadComponentNotify(42, 0, 0), -1);
}

} // namespace
