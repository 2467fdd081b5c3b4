#include "kernel32/conversion.h"
#include "runtime/browse_for_folder.h"
#include "runtime/scratch_buffer.h"
#include "shell32/browse_for_folder.h"
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

// Narrow literals here are code page 936, as in the system's code.
constexpr DWORD kPatience = 5000;

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

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

// A home folder of its own with the folder 歌曲 and the file x.txt, and an
// active main window of the test thread.
class BrowseForFolderTest : public testing::Test {
protected:
  void SetUp() override {
    PlatformTestResetWindowSystem();
    char name[] = "/tmp/browse-runtime-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    home = name;
    std::filesystem::create_directories(home + "/" + Utf8(u8"歌曲"));
    std::ofstream(home + "/x.txt") << "x";
    const char* old = std::getenv("HOME");
    oldHome = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("HOME", home.c_str(), 1);

    WNDCLASSEXA plain{};
    plain.cbSize = sizeof plain;
    plain.lpfnWndProc = PlainProc;
    plain.lpszClassName = "BrowseMain";
    ASSERT_NE(RegisterClassExA(&plain), 0);
    main = CreateWindowExA(0, "BrowseMain", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 600, 500,
                           nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetActiveWindow(), main);
  }
  void TearDown() override {
    if (oldHome)
      setenv("HOME", oldHome->c_str(), 1);
    std::filesystem::remove_all(home);
    PlatformTestResetWindowSystem();
  }

  // BrowseForFolder on the test thread, answered by `answer` on its own.
  TextValue Browse(std::optional<bool> includeFiles, std::function<void(HWND dialog)> answer) {
    std::thread answerer([&] {
      HWND dialog = PlatformTestWaitForDialog("浏览文件夹", kPatience);
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
    TextValue chosen = BrowseForFolder("请选择文件夹", includeFiles);
    answerer.join();
    return chosen;
  }

  std::string home;
  std::optional<std::string> oldHome;
  HWND main = nullptr;
};

TEST_F(BrowseForFolderTest, GivesTheTypedFolderInCodePage936) {
  std::string typed = home + "/歌曲";
  TextValue chosen = Browse(std::nullopt, [&](HWND dialog) {
    EXPECT_FALSE(IsWindowEnabled(main)) << "modal to the active window";
    EXPECT_EQ(GetParent(dialog), main);
    char instruction[64] = {};
    GetDlgItemTextA(dialog, PLATFORM_BROWSE_TEXT_ID, instruction, sizeof instruction);
    EXPECT_STREQ(instruction, "请选择文件夹");
    EXPECT_EQ(DialogScratchPool().SlotsInUse(), 1) << "the window-state list";
    PlatformTestTypeText(typed.c_str());
    PlatformTestPressKey(VK_RETURN);
  });
  EXPECT_EQ(chosen.View(), typed);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(GetActiveWindow(), main);
  EXPECT_EQ(DialogScratchPool().SlotsInUse(), 0);
}

TEST_F(BrowseForFolderTest, ListsFilesOnlyWhenTheSecondArgumentIsTrue) {
  struct Case {
    std::optional<bool> includeFiles;
    std::vector<std::string> listed;
  } cases[] = {
      {std::nullopt, {"..", "歌曲"}},
      {false, {"..", "歌曲"}},
      {true, {"..", "歌曲", "x.txt"}},
  };
  for (const Case& c : cases) {
    TextValue chosen = Browse(c.includeFiles, [&](HWND dialog) {
      EXPECT_EQ(ListItems(GetDlgItem(dialog, PLATFORM_BROWSE_LIST_ID)), c.listed);
      PlatformTestPressKey(VK_ESCAPE);
    });
    EXPECT_TRUE(chosen.IsNull());
  }
}

TEST_F(BrowseForFolderTest, ADoubleClickedSubfolderThenOk) {
  TextValue chosen = Browse(std::nullopt, [&](HWND dialog) {
    EXPECT_TRUE(PlatformTestClickListItem(GetDlgItem(dialog, PLATFORM_BROWSE_LIST_ID), "歌曲", TRUE));
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_TRUE(PlatformTestPressDialogButton(dialog, "确定"));
  });
  EXPECT_EQ(chosen.View(), home + "/歌曲");
}

TEST_F(BrowseForFolderTest, TheRootIsASlash) {
  TextValue chosen = Browse(std::nullopt, [&](HWND) {
    PlatformTestTypeText("/");
    PlatformTestPressKey(VK_RETURN);
  });
  EXPECT_EQ(chosen.View(), "/");
}

TEST_F(BrowseForFolderTest, CancelAndAPathThatDoesNotExistGiveNull) {
  TextValue chosen = Browse(std::nullopt, [&](HWND dialog) {
    PlatformTestTypeText((home + "/没有").c_str());
    PlatformTestPressKey(VK_RETURN);
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "a path that does not exist keeps it open";
    PlatformTestPressDialogButton(dialog, "取消");
  });
  EXPECT_TRUE(chosen.IsNull());
  EXPECT_TRUE(IsWindowEnabled(main));
}

} // namespace
