#include "shell32/item_id_list.h"
#include "shell32/shell_malloc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Releases a list through the shell's allocator, as every caller must.
struct ListHolder {
  explicit ListHolder(LPITEMIDLIST l) : list(l) {}
  ~ListHolder() {
    IMalloc* allocator = nullptr;
    if (list && SHGetMalloc(&allocator) == S_OK) {
      allocator->Free(list);
      allocator->Release();
    }
  }
  ListHolder(const ListHolder&) = delete;
  ListHolder& operator=(const ListHolder&) = delete;
  LPITEMIDLIST list;
};

std::string PathOf(LPCITEMIDLIST list, BOOL* ok = nullptr) {
  char path[260];
  std::memset(path, 'x', sizeof path);
  BOOL got = SHGetPathFromIDListA(list, path);
  if (ok)
    *ok = got;
  return path;
}

TEST(ItemIdList, GivesTheFolderPathWithoutTrailingSeparators) {
  struct Case {
    const char* made;
    const char* path;
  } cases[] = {
      {"/", "/"},
      {"//", "/"},
      {"\\", "/"},
      {"/tmp/x/", "/tmp/x"},
      {"/tmp/x", "/tmp/x"},
      {"/tmp/x//\\", "/tmp/x"},
      {"/a\\b\\", "/a\\b"},
      {"relative/", "relative"},
      // 乗 (815C) ends in a backslash byte that is no separator.
      {"/\x81\x5C", "/\x81\x5C"},
      {"/\xD6\xD0\xCE\xC4\\", "/\xD6\xD0\xCE\xC4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.made);
    ListHolder made(PlatformCreatePathIdList(c.made));
    ASSERT_NE(made.list, nullptr);
    BOOL ok = FALSE;
    EXPECT_EQ(PathOf(made.list, &ok), c.path);
    EXPECT_TRUE(ok);
  }
}

TEST(ItemIdList, IsOneItemEndedByAnEmptyOne) {
  ListHolder made(PlatformCreatePathIdList("/tmp/x"));
  ASSERT_NE(made.list, nullptr);
  USHORT cb = made.list->mkid.cb;
  EXPECT_GT(cb, 2 + std::strlen("/tmp/x"));
  USHORT end;
  std::memcpy(&end, reinterpret_cast<const BYTE*>(made.list) + cb, sizeof end);
  EXPECT_EQ(end, 0);
}

TEST(ItemIdList, HasNoPathForNullEmptyForeignOrOverlongLists) {
  BOOL ok = TRUE;
  EXPECT_EQ(PathOf(nullptr, &ok), "");
  EXPECT_FALSE(ok);
  EXPECT_FALSE(SHGetPathFromIDListA(nullptr, nullptr));

  EXPECT_EQ(PlatformCreatePathIdList(nullptr), nullptr);
  EXPECT_EQ(PlatformCreatePathIdList(""), nullptr);

  // The empty list names the shell's root, which has no file-system path.
  alignas(USHORT) BYTE empty[2] = {0, 0};
  EXPECT_EQ(PathOf(reinterpret_cast<LPCITEMIDLIST>(empty), &ok), "");
  EXPECT_FALSE(ok);

  // An item of another kind, holding a text all the same.
  alignas(USHORT) BYTE foreign[] = {7, 0, 0x1F, '/', 't', 0, 0, 0, 0};
  EXPECT_EQ(PathOf(reinterpret_cast<LPCITEMIDLIST>(foreign), &ok), "");
  EXPECT_FALSE(ok);

  std::string longest = "/" + std::string(258, 'a');
  ListHolder fits(PlatformCreatePathIdList(longest.c_str()));
  EXPECT_EQ(PathOf(fits.list, &ok), longest);
  EXPECT_TRUE(ok);
  ListHolder too_long(PlatformCreatePathIdList((longest + "a").c_str()));
  ASSERT_NE(too_long.list, nullptr);
  EXPECT_EQ(PathOf(too_long.list, &ok), "");
  EXPECT_FALSE(ok);
}

TEST(ItemIdList, TheShellAllocatorOwnsAndReleasesIt) {
  IMalloc* allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  LPITEMIDLIST list = PlatformCreatePathIdList("/tmp/x/");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(allocator->DidAlloc(list), 1);
  EXPECT_EQ(allocator->GetSize(list), list->mkid.cb + sizeof(USHORT));
  allocator->Free(list);
  EXPECT_EQ(allocator->DidAlloc(list), 0);
  allocator->Release();
}

} // namespace
