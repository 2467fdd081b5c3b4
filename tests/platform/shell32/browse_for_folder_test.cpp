#include "kernel32/conversion.h"
#include "shell32/browse_for_folder.h"
#include "shell32/shell_malloc.h"
#include "user32/controls.h"
#include "user32/dialog.h"
#include "user32/dialog_test.h"
#include "user32/headless_display.h"
#include "user32/input.h"
#include "user32/message_box.h"
#include "user32/window_system_test.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kPatience = 5000;
const std::string kTitle = platform::Utf8ToCp936("浏览文件夹");
const std::string kOk = platform::Utf8ToCp936("确定");
const std::string kCancel = platform::Utf8ToCp936("取消");

std::string Gbk(const std::string& utf8) { return platform::Utf8ToCp936(utf8); }

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; i++) {
    char text[512] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// A home folder of its own:  a/b, 歌曲, .hidden and the file x.txt.
class FolderBrowser : public testing::Test {
protected:
  void SetUp() override {
    PlatformTestResetWindowSystem();
    char name[] = "/tmp/browse-test-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    home = name;
    std::filesystem::create_directories(home + "/a/b");
    std::filesystem::create_directories(home + "/歌曲");
    std::filesystem::create_directories(home + "/.hidden");
    std::ofstream(home + "/x.txt") << "x";
    const char* old = std::getenv("HOME");
    oldHome = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("HOME", home.c_str(), 1);
  }
  void TearDown() override {
    if (oldHome)
      setenv("HOME", oldHome->c_str(), 1);
    std::filesystem::remove_all(home);
    PlatformTestResetWindowSystem();
  }

  // Shows the browser on the test thread while `answer` runs on its own
  // with the ready dialog; returns the chosen path, or nothing for null.
  std::optional<std::string> Browse(UINT flags, std::function<void(HWND dialog)> answer,
                                    HWND owner = nullptr) {
    std::thread answerer([&] {
      HWND dialog = PlatformTestWaitForDialog(kTitle.c_str(), kPatience);
      if (!dialog) {
        ADD_FAILURE() << "no folder browser appeared";
        return;
      }
      answer(dialog);
      if (!PlatformTestWaitForWindowGone(dialog, kPatience)) {
        ADD_FAILURE() << "the folder browser stayed open";
        EndDialog(dialog, IDCANCEL);
      }
    });
    char displayName[260] = "unchanged";
    std::string instruction = Gbk("请选择歌曲所在的目录");
    BROWSEINFOA info{owner, nullptr, displayName, instruction.c_str(), flags, nullptr, 0, 0};
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    answerer.join();
    if (!chosen)
      return std::nullopt;
    char path[260] = {};
    EXPECT_TRUE(SHGetPathFromIDListA(chosen, path));
    lastDisplayName = displayName;
    IMalloc* allocator = nullptr;
    EXPECT_EQ(SHGetMalloc(&allocator), S_OK);
    EXPECT_EQ(allocator->DidAlloc(chosen), 1);
    allocator->Free(chosen);
    allocator->Release();
    return std::string(path);
  }

  static HWND Edit(HWND dialog) { return GetDlgItem(dialog, PLATFORM_BROWSE_EDIT_ID); }
  static HWND List(HWND dialog) { return GetDlgItem(dialog, PLATFORM_BROWSE_LIST_ID); }

  std::string home;
  std::optional<std::string> oldHome;
  std::string lastDisplayName;
};

TEST_F(FolderBrowser, StartsAtHomeWithItsPathSelectedSoThatATypedPathReplacesIt) {
  std::string wanted = home + "/歌曲";
  auto chosen = Browse(BIF_EDITBOX, [&](HWND dialog) {
    EXPECT_EQ(TextOf(GetDlgItem(dialog, PLATFORM_BROWSE_TEXT_ID)), Gbk("请选择歌曲所在的目录"));
    HWND edit = Edit(dialog);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(TextOf(edit), home);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, home.size());
    EXPECT_TRUE(PlatformTestTypeText(Gbk(wanted).c_str()));
    EXPECT_TRUE(PlatformTestPressKey(VK_RETURN));
  });
  EXPECT_EQ(chosen, Gbk(wanted));
  EXPECT_EQ(lastDisplayName, Gbk("歌曲"));
}

TEST_F(FolderBrowser, ListsTheSubfoldersWithoutHiddenOnesAndFilesOnlyWhenAsked) {
  Browse(BIF_EDITBOX, [&](HWND dialog) {
    EXPECT_EQ(ListItems(List(dialog)), (std::vector<std::string>{"..", "a", Gbk("歌曲")}));
    PlatformTestPressKey(VK_ESCAPE);
  });
  auto chosen = Browse(BIF_EDITBOX | BIF_BROWSEINCLUDEFILES, [&](HWND dialog) {
    EXPECT_EQ(ListItems(List(dialog)), (std::vector<std::string>{"..", "a", Gbk("歌曲"), "x.txt"}));
    EXPECT_TRUE(PlatformTestClickListItem(List(dialog), "x.txt", FALSE));
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(TextOf(Edit(dialog)), home + "/x.txt");
    PlatformTestPressDialogButton(dialog, kOk.c_str());
  });
  EXPECT_EQ(chosen, home + "/x.txt");
}

TEST_F(FolderBrowser, ADoubleClickEntersAFolderAndDotDotGoesUp) {
  auto chosen = Browse(BIF_EDITBOX, [&](HWND dialog) {
    HWND list = List(dialog);
    EXPECT_TRUE(PlatformTestClickListItem(list, "a", TRUE));
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"..", "b"}));
    EXPECT_EQ(TextOf(Edit(dialog)), home + "/a");
    EXPECT_TRUE(PlatformTestClickListItem(list, "b", TRUE));
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{".."}));
    EXPECT_TRUE(PlatformTestClickListItem(list, "..", TRUE));
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(TextOf(Edit(dialog)), home + "/a");
    PlatformTestPressDialogButton(dialog, kOk.c_str());
  });
  EXPECT_EQ(chosen, home + "/a");
  EXPECT_EQ(lastDisplayName, "a");
}

TEST_F(FolderBrowser, CancelEscAndTheCloseBoxGiveNull) {
  enum Way { CancelButton, Escape, CloseBox };
  for (Way way : {CancelButton, Escape, CloseBox}) {
    SCOPED_TRACE(way);
    auto chosen = Browse(BIF_EDITBOX, [&](HWND dialog) {
      if (way == CancelButton)
        PlatformTestPressDialogButton(dialog, kCancel.c_str());
      else if (way == Escape)
        PlatformTestPressKey(VK_ESCAPE);
      else
        PlatformTestRequestClose(dialog);
    });
    EXPECT_EQ(chosen, std::nullopt);
  }
}

TEST_F(FolderBrowser, TakesTypedPathsInTheirNormalForm) {
  struct Case {
    std::string typed;
    std::string chosen;
  } cases[] = {
      {"/", "/"},
      {"///", "/"},
      {home + "/a/", home + "/a"},
      {home + "\\a\\b", home + "/a/b"},
      {home + "/a/./b/..", home + "/a"},
      {"a/b", home + "/a/b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    auto chosen = Browse(BIF_EDITBOX, [&](HWND) {
      PlatformTestTypeText(c.typed.c_str());
      PlatformTestPressKey(VK_RETURN);
    });
    EXPECT_EQ(chosen, c.chosen);
  }
}

TEST_F(FolderBrowser, APathThatIsNoFolderKeepsItOpenUntilCancel) {
  for (const std::string& typed : {home + "/missing", home + "/x.txt", std::string()}) {
    SCOPED_TRACE(typed);
    auto chosen = Browse(BIF_EDITBOX, [&](HWND dialog) {
      if (typed.empty())
        PlatformTestPressKey(VK_DELETE);
      else
        PlatformTestTypeText(typed.c_str());
      PlatformTestPressKey(VK_RETURN);
      PlatformTestPressDialogButton(dialog, kOk.c_str());
      EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
      EXPECT_TRUE(IsWindowVisible(dialog));
      PlatformTestPressDialogButton(dialog, kCancel.c_str());
    });
    EXPECT_EQ(chosen, std::nullopt);
  }
}

TEST_F(FolderBrowser, TabWalksTheEditBoxTheListAndTheButtons) {
  Browse(BIF_EDITBOX, [&](HWND dialog) {
    std::vector<HWND> order{List(dialog), GetDlgItem(dialog, IDOK), GetDlgItem(dialog, IDCANCEL),
                            Edit(dialog)};
    for (HWND expected : order) {
      PlatformTestPressKey(VK_TAB);
      EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
      EXPECT_EQ(GetFocus(), expected);
    }
    PlatformTestKey(VK_SHIFT, TRUE);
    PlatformTestPressKey(VK_TAB);
    PlatformTestKey(VK_SHIFT, FALSE);
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDCANCEL));
    PlatformTestPressKey(VK_RETURN);
  });
}

TEST_F(FolderBrowser, WithoutAnEditBoxOkTakesTheSelectedFolder) {
  auto chosen = Browse(0, [&](HWND dialog) {
    EXPECT_EQ(Edit(dialog), nullptr);
    EXPECT_EQ(GetFocus(), List(dialog));
    PlatformTestClickListItem(List(dialog), Gbk("歌曲").c_str(), FALSE);
    PlatformTestPressDialogButton(dialog, kOk.c_str());
  });
  EXPECT_EQ(chosen, Gbk(home + "/歌曲"));
}

TEST_F(FolderBrowser, IsModalToItsOwner) {
  WNDCLASSEXA plain{};
  plain.cbSize = sizeof plain;
  plain.lpfnWndProc = PlainProc;
  plain.lpszClassName = "BrowseOwner";
  ASSERT_NE(RegisterClassExA(&plain), 0);
  HWND owner = CreateWindowExA(0, "BrowseOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 600, 500,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  Browse(
      BIF_EDITBOX,
      [&](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(GetParent(dialog), owner);
        PlatformTestPressKey(VK_ESCAPE);
      },
      owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  DestroyWindow(owner);
}

} // namespace
