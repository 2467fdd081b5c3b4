#include "engine/run_log.h"
#include "runtime/run_directory.h"

#include <gtest/gtest.h>

#include <thread> // steady_clock; <chrono> itself cannot be compiled for code page 936
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(RunLog, EveryLineEndsWithCrLfAndAnEmptyLineIsABareOne) {
  RunLog.Free();
  AppendLog("日志开始！");
  AppendLog("");
  AppendLog(TextRef());
  AppendLog("本歌曲下载成功！");
  EXPECT_STREQ(RunLog.Text().Bytes(), "日志开始！\r\n\r\n\r\n本歌曲下载成功！\r\n");
  EXPECT_EQ(RunLog.Length(), RunLog.Text().Length());
  RunLog.Free();
}

TEST(RunLog, LogFilePathIsTempTxtInTheRunDirectory) {
  EXPECT_EQ(std::string(LogFilePath().Bytes()), std::string(GetRunDirectory().Bytes()) + "\\temp.txt");
}

// The only test that writes the log file beside the test program.
TEST(RunLog, TheFileHoldsExactlyTheLogBytes) {
  RunLog.Free();
  AppendLog("Quenmar Cantiva V1.0    2013年5月1日9时30分15秒");
  AppendLog("搜索文件夹：/tmp/歌");
  std::string expected = std::string("Quenmar Cantiva V1.0    2013年5月1日9时30分15秒\r\n") + "搜索文件夹：/tmp/歌\r\n";
  WriteLogFile();
  std::string path = std::string(GetRunDirectory().Bytes()) + "/temp.txt";
  EXPECT_EQ(FileBytes(path), expected);
  // A later, shorter log replaces the whole file.
  RunLog.Free();
  AppendLog("x");
  WriteLogFile();
  EXPECT_EQ(FileBytes(path), "x\r\n");
  RunLog.Free();
}

TEST(RunLog, AppendingStaysLinearInTheNumberOfLines) {
  RunLog.Free();
  auto time_lines = [](int n) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; i++)
      AppendLog("我的歌声里  准备中……");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  double small = time_lines(20000);
  RunLog.Free();
  double large = time_lines(200000);
  EXPECT_EQ(RunLog.Length(), 200000 * (TextRef("我的歌声里  准备中……").Length() + 2));
  // Ten times the lines in far less than a hundred times the time.
  EXPECT_LT(large, small * 40 + 0.05);
  RunLog.Free();
}

} // namespace
