#include "kernel32/critical_section.h"
#include "kernel32/handle.h"
#include "kernel32/last_error.h"
#include "kernel32/process.h"
#include "kernel32/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// What a started thread reports back, and a gate that holds it until the
// test opens it.
struct GatedRun {
  std::promise<DWORD> started;
  std::promise<void> gate;
  std::shared_future<void> gate_open = gate.get_future().share();
  std::atomic<bool> finished{false};
  DWORD exit_code = 0;
};

DWORD GatedThread(LPVOID parameter) {
  auto* run = static_cast<GatedRun*>(parameter);
  run->started.set_value(GetCurrentThreadId());
  run->gate_open.wait_for(10s);
  DWORD code = run->exit_code;
  run->finished = true; // the test may end now; nothing of `run` is read after
  return code;
}

TEST(CreateThread, RunsAtOnceWithItsParameterAndId) {
  GatedRun run;
  std::future<DWORD> started = run.started.get_future();
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, GatedThread, &run, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(thread, INVALID_HANDLE_VALUE);
  ASSERT_EQ(started.wait_for(5s), std::future_status::ready);
  EXPECT_EQ(started.get(), id);
  EXPECT_NE(id, GetCurrentThreadId());
  run.gate.set_value();
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(thread));
}

TEST(CreateThread, ClosingTheHandleLeavesTheThreadRunning) {
  GatedRun run;
  std::future<DWORD> started = run.started.get_future();
  HANDLE thread = CreateThread(nullptr, 0, GatedThread, &run, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  ASSERT_EQ(started.wait_for(5s), std::future_status::ready);
  EXPECT_FALSE(run.finished);
  run.gate.set_value();
  for (int i = 0; i < 500 && !run.finished; i++)
    std::this_thread::sleep_for(10ms);
  EXPECT_TRUE(run.finished);
}

TEST(CreateThread, KeptHandleReportsStillActiveThenTheExitCode) {
  GatedRun run;
  run.exit_code = 42;
  std::future<DWORD> started = run.started.get_future();
  HANDLE thread = CreateThread(nullptr, 64 * 1024, GatedThread, &run, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(started.wait_for(5s), std::future_status::ready);
  EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  run.gate.set_value();
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  // Long after the end the handle still answers.
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_FALSE(GetExitCodeThread(thread, &code));
}

TEST(CreateThread, RefusesWhatItCannotDo) {
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  constexpr DWORD kCreateSuspended = 4;
  GatedRun run;
  EXPECT_EQ(CreateThread(nullptr, 0, GatedThread, &run, kCreateSuspended, nullptr), nullptr);
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
}

TEST(Sleep, WaitsAtLeastThatLong) {
  auto before = std::chrono::steady_clock::now();
  Sleep(30);
  EXPECT_GE(std::chrono::steady_clock::now() - before, 30ms);
  Sleep(0);
}

TEST(CriticalSection, IsRecursiveAndKeepsOtherThreadsOut) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);
  auto other_gets_in = [&] {
    bool got = false;
    std::thread([&] {
      got = TryEnterCriticalSection(&section);
      if (got)
        LeaveCriticalSection(&section);
    }).join();
    return got;
  };
  EXPECT_FALSE(other_gets_in());
  LeaveCriticalSection(&section);
  EXPECT_FALSE(other_gets_in()) << "entered twice, left once";
  LeaveCriticalSection(&section);
  EXPECT_TRUE(other_gets_in());
  DeleteCriticalSection(&section);
}

TEST(CriticalSection, SerialisesItsHolders) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; t++)
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; i++) {
        EnterCriticalSection(&section);
        long seen = counter;
        counter = seen + 1;
        LeaveCriticalSection(&section);
      }
    });
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(counter, 80000);
  DeleteCriticalSection(&section);
}

} // namespace
