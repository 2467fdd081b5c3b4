#include "kernel32/process.h"
#include "runtime/command_arg.h"
#include "runtime/components.h"
#include "runtime/internet_component.h"
#include "runtime/runtime_frame.h"
#include "runtime/service_entry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

namespace {

const char* const kComponentNames[] = {"dialog", "threads", "internet"};

void PrintNotification(int component, int32_t code) {
  std::fprintf(stderr, "notify %s %d\n", kComponentNames[component], code);
}

void PrintExitRoutine() { std::fprintf(stderr, "exit routine\n"); }

int32_t ProgramThatReturns() {
  std::fprintf(stderr, "program runs\n");
  return 0;
}

int32_t ProgramThatEndsDeepInside() {
  struct Local {
    ~Local() { std::fprintf(stderr, "local released\n"); }
  } local;
  ExitProgram(5);
}

int32_t ProgramWithFatalError() {
  FatalError(4);
}

void StartWatched() {
  SetNotificationObserverForTesting(PrintNotification);
  RuntimeStartup();
  SetExitRoutine(PrintExitRoutine);
}

[[noreturn]] void EndTest(int result) {
  std::fprintf(stderr, "frame returned %d\n", result);
  std::fflush(stderr);
  ExitProcess(static_cast<UINT>(result == 0 ? 42 : 1));
}

const char kOrderedExit[] = "exit routine\n"
                            "notify dialog 6\n"
                            "notify threads 6\n"
                            "notify internet 6\n";

class RuntimeFrameDeath : public testing::Test {
protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(RuntimeFrameDeath, StartNotifiesTheComponentsInTableOrder) {
  EXPECT_EXIT(
      {
        StartWatched();
        EndTest(MailStateExists() ? 0 : 1);
      },
      testing::ExitedWithCode(42), "notify dialog 1\nnotify threads 1\nnotify internet 1\nframe returned 0");
}

TEST_F(RuntimeFrameDeath, NormalEndRunsTheExitSequenceOnceAndReturnsThroughTheFrame) {
  EXPECT_EXIT(
      {
        StartWatched();
        EndTest(RunInStartupFrame(ProgramThatReturns));
      },
      testing::ExitedWithCode(42), std::string("program runs\n") + kOrderedExit + "frame returned 0\n$");
}

TEST_F(RuntimeFrameDeath, EndingDeepInsideTheProgramReleasesItsLocalsOnTheWayOut) {
  EXPECT_EXIT(
      {
        StartWatched();
        EndTest(RunInStartupFrame(ProgramThatEndsDeepInside));
      },
      testing::ExitedWithCode(42), std::string(kOrderedExit) + "local released\nframe returned 0\n$");
}

TEST_F(RuntimeFrameDeath, FatalErrorShowsItsBoxThenRunsTheExitSequence) {
  EXPECT_EXIT(
      {
        StartWatched();
        EndTest(RunInStartupFrame(ProgramWithFatalError));
      },
      testing::ExitedWithCode(42),
      std::string("MessageBox \\[error\\] program internal error number is 4\\. \\(0x4h\\)\n") + kOrderedExit +
          "frame returned 0");
}

TEST_F(RuntimeFrameDeath, OnAnotherThreadTheProcessEndsWithTheCode) {
  EXPECT_EXIT(
      {
        StartWatched();
        std::thread worker([] { ExitProgram(3); });
        worker.join();
        EndTest(0);
      },
      testing::ExitedWithCode(3), kOrderedExit);
}

TEST_F(RuntimeFrameDeath, BeforeTheFrameIsRecordedTheProcessEndsWithTheCode) {
  EXPECT_EXIT(
      {
        StartWatched();
        ExitProgram(7);
      },
      testing::ExitedWithCode(7), kOrderedExit);
}

void ExitRoutineThatFails() {
  std::fprintf(stderr, "exit routine\n");
  ExitProgram(9);
}

TEST_F(RuntimeFrameDeath, AWayOutFromInsideTheExitRoutineDoesNotRunItAgain) {
  EXPECT_EXIT(
      {
        StartWatched();
        SetExitRoutine(ExitRoutineThatFails);
        std::thread worker([] { ExitProgram(3); });
        worker.join();
        EndTest(0);
      },
      testing::ExitedWithCode(9), "notify internet 1\nexit routine\n$");
}

TEST_F(RuntimeFrameDeath, UnknownServiceCodeShowsItsMessageAndGoesOn) {
  EXPECT_EXIT(
      {
        RuntimeStartup();
        intptr_t result = ServiceEntry(4711, 0, 0);
        std::fprintf(stderr, "result %d\n", static_cast<int>(result));
        EndTest(0);
      },
      testing::ExitedWithCode(42),
      std::string("MessageBox \\[morvath\\] ") + reinterpret_cast<const char*>(u8"不支持系统功能函数4711. 请将此信息反馈给作者") +
          "\nresult 0\n");
}

TEST_F(RuntimeFrameDeath, RuntimeErrorServiceShowsItsBoxAndEnds) {
  EXPECT_EXIT(
      {
        RuntimeStartup();
        ServiceEntry(ServiceCode::RuntimeErrorBox, reinterpret_cast<intptr_t>("bad value"), 0);
      },
      testing::ExitedWithCode(0), "MessageBox \\[ERROR\\] Morvath RunTime Error:\r\n\r\nbad value");
}

TEST(ServiceEntry, FixedAnswersAndMemory) {
  EXPECT_EQ(ServiceEntry(1004, 0, 0), 1);
  EXPECT_EQ(ServiceEntry(1005, 0, 0), 4);
  EXPECT_EQ(ServiceEntry(2030, 0, 0), 3);
  EXPECT_EQ(ServiceEntry(ServiceCode::ProgramWindowCount, 0, 0), 0);
  EXPECT_EQ(ServiceEntry(ServiceCode::ProgramWindow, 1, 0), 0);
  void* block = reinterpret_cast<void*>(ServiceEntry(ServiceCode::AllocBlock, 16, 0));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0);
  block = reinterpret_cast<void*>(ServiceEntry(ServiceCode::ResizeBlock, reinterpret_cast<intptr_t>(block), 64));
  ASSERT_NE(block, nullptr);
  ServiceEntry(ServiceCode::FreeBlock, reinterpret_cast<intptr_t>(block), 0);
  CommandArg given = CommandArg::Double(7.9);
  EXPECT_EQ(ServiceEntry(ServiceCode::ArgumentToInteger, reinterpret_cast<intptr_t>(&given), 0), 7);
}

TEST(ServiceEntry, ProgramDirectoryIsThePathWithoutItsLastPart) {
  auto* directory = reinterpret_cast<char*>(ServiceEntry(ServiceCode::ProgramDirectory, 0, 0));
  auto* path = reinterpret_cast<char*>(ServiceEntry(ServiceCode::ProgramPath, 0, 0));
  auto* name = reinterpret_cast<char*>(ServiceEntry(ServiceCode::ProgramFileName, 0, 0));
  EXPECT_EQ(std::string(directory) + "/" + name, std::string(path));
  EXPECT_STREQ(name, "runtime_test");
  for (char* p : {directory, path, name})
    ServiceEntry(ServiceCode::FreeBlock, reinterpret_cast<intptr_t>(p), 0);
}

} // namespace
