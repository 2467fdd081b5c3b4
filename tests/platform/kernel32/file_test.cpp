#include "kernel32/file.h"
#include "kernel32/handle.h"
#include "kernel32/last_error.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FileTest : public ::testing::Test {
protected:
  HANDLE Create(const std::string& name, DWORD share = 0) {
    return CreateFileA((folder.Path() + name).c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_ARCHIVE, nullptr);
  }

  static bool Write(HANDLE file, const std::string& bytes) {
    DWORD written = 12345;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    EXPECT_EQ(written, ok ? bytes.size() : written);
    return ok;
  }

  TempFolder folder;
};

TEST_F(FileTest, CreateAlwaysWritesExactlyTheBytesGiven) {
  HANDLE file = Create("\\song.lrc");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_NE(file, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_TRUE(Write(file, "[00:01]\xD6\xD0\r\n"));
  EXPECT_TRUE(Write(file, ""));
  EXPECT_TRUE(Write(file, "end"));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(folder.Read("song.lrc"), "[00:01]\xD6\xD0\r\nend");
}

TEST_F(FileTest, CreateAlwaysEmptiesALongerOldFile) {
  folder.Put("temp.txt", "a much longer old log text");
  HANDLE file = Create("\\temp.txt");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(Write(file, "new"));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(folder.Read("temp.txt"), "new");
}

TEST_F(FileTest, RefusedCreationsTable) {
  folder.MakeFolder("taken.lrc");
  folder.Put("plain");
  struct Case {
    const char* name;
    DWORD error;
    const char* absent; // what must not have been made
  };
  const Case cases[] = {
      {"\\missing\\song.lrc", ERROR_PATH_NOT_FOUND, "missing"},
      {"\\taken.lrc", ERROR_ACCESS_DENIED, "taken.lrc/song.lrc"},
      {"\\plain\\song.lrc", ERROR_PATH_NOT_FOUND, "plain/song.lrc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    EXPECT_EQ(Create(c.name), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_FALSE(folder.Exists(c.absent));
  }
  EXPECT_EQ(
      CreateFileA((folder.Path() + "\\none").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
      INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

// Names are code page 936 on the caller's side and UTF-8 on disk; the GBK
// character 0x95 0x5C (U+661E) ends in a backslash byte that is no separator.
TEST_F(FileTest, NamesAreConvertedAndTrailByte5CStaysInTheName) {
  folder.MakeFolder("\xE6\xAD\x8C"); // "ge"
  const struct {
    const char* gbk;
    const char* utf8;
  } cases[] = {
      {"\\\x95\x5C.lrc", "\xE6\x98\x9E.lrc"},
      {"\\\xD6\xD0\xCE\xC4 \xB8\xE8.lrc", "\xE4\xB8\xAD\xE6\x96\x87 \xE6\xAD\x8C.lrc"},
      {"\\\xB8\xE8\\\x95\x5C\x95\x5C.lrc", "\xE6\xAD\x8C/\xE6\x98\x9E\xE6\x98\x9E.lrc"},
      {"/\xB8\xE8/a.lrc", "\xE6\xAD\x8C/a.lrc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    HANDLE file = Create(c.gbk);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(folder.Exists(c.utf8));
  }
}

TEST_F(FileTest, AnUnsharedHandleKeepsOthersOut) {
  HANDLE first = Create("\\temp.txt");
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Create("\\temp.txt", FILE_SHARE_READ | FILE_SHARE_WRITE), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(Write(first, "kept"));
  EXPECT_TRUE(CloseHandle(first));
  HANDLE second = Create("\\temp.txt");
  ASSERT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_EQ(folder.Read("temp.txt"), "");

  HANDLE reader = CreateFileA((folder.Path() + "\\temp.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  HANDLE other = CreateFileA((folder.Path() + "\\temp.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_NE(other, INVALID_HANDLE_VALUE) << "shared handles may be open together";
  EXPECT_FALSE(Write(reader, "x"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  CloseHandle(reader);
  CloseHandle(other);
}

TEST_F(FileTest, ClosedHandlesAreInvalid) {
  HANDLE file = Create("\\a.lrc");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_FALSE(CloseHandle(file));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(Write(file, "x"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(CloseHandle(nullptr));
}

} // namespace
