// The folder browser's dialog: its controls, its walk through the folders
// and the check of the path it is given.
#include "shell32/browse_for_folder.h"

#include "kernel32/conversion.h"
#include "kernel32/path.h"
#include "shell32/folder_listing.h"
#include "shell32/folder_path.h"
#include "shell32/shell_allocator.h"
#include "user32/controls.h"
#include "user32/dialog.h"
#include "user32/input.h"
#include "user32/message_box.h"
#include "user32/paint.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kTitle = "\xE4\xAF\xC0\xC0\xCE\xC4\xBC\xFE\xBC\xD0"; // the browser's title
constexpr const char* kOkCaption = "\xC8\xB7\xB6\xA8";
constexpr const char* kCancelCaption = "\xC8\xA1\xCF\xFB";
constexpr const char* kUp = "..";
constexpr size_t kDisplayNameBytes = 260;

constexpr LONG kWidth = 380;
constexpr LONG kMargin = 10;
constexpr LONG kGap = 8;
constexpr LONG kEditHeight = 22;
constexpr LONG kListHeight = 220;
constexpr LONG kButtonWidth = 75;
constexpr LONG kButtonHeight = 23;
constexpr LONG kMostTextHeight = 64;

struct Layout {
  RECT text;
  RECT edit; // empty without BIF_EDITBOX
  RECT list;
  RECT ok;
  RECT cancel;
  LONG height;
};

struct Browser {
  const BROWSEINFOA* info;
  std::string folder;                        // the current folder, UTF-8
  std::vector<shell32::FolderEntry> entries; // in list order, ".." first unless in the root
  Layout layout;
  LPITEMIDLIST chosen = nullptr;

  bool WithFiles() const { return info->ulFlags & BIF_BROWSEINCLUDEFILES; }
  bool WithEdit() const { return info->ulFlags & BIF_EDITBOX; }
};

LONG InstructionHeight(const char* text) {
  HDC dc = GetDC(nullptr);
  RECT area{0, 0, kWidth - 2 * kMargin, 0};
  DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SIZE line{};
  GetTextExtentPoint32A(dc, "", 0, &line);
  ReleaseDC(nullptr, dc);
  return std::clamp<LONG>(area.bottom, line.cy, kMostTextHeight);
}

Layout LayOut(const Browser& browser) {
  Layout at{};
  const char* text = browser.info->lpszTitle ? browser.info->lpszTitle : "";
  LONG y = kMargin;
  at.text = {kMargin, y, kWidth - kMargin, y + InstructionHeight(text)};
  y = at.text.bottom + kGap;
  if (browser.WithEdit()) {
    at.edit = {kMargin, y, kWidth - kMargin, y + kEditHeight};
    y = at.edit.bottom + kGap;
  }
  at.list = {kMargin, y, kWidth - kMargin, y + kListHeight};
  y = at.list.bottom + kGap + 2;
  at.cancel = {kWidth - kMargin - kButtonWidth, y, kWidth - kMargin, y + kButtonHeight};
  at.ok = {at.cancel.left - kGap - kButtonWidth, y, at.cancel.left - kGap, y + kButtonHeight};
  at.height = y + kButtonHeight + kMargin;
  return at;
}

HWND Control(HWND dialog, DWORD exStyle, const char* className, const char* text, DWORD style, const RECT& at,
             int id) {
  return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                         at.right - at.left, at.bottom - at.top, dialog,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

// In tab order: the edit box, the list, then the buttons.
bool CreateControls(HWND dialog, const Browser& browser) {
  const Layout& at = browser.layout;
  const char* text = browser.info->lpszTitle ? browser.info->lpszTitle : "";
  bool made = Control(dialog, 0, "Static", text, SS_LEFT | SS_NOPREFIX, at.text, PLATFORM_BROWSE_TEXT_ID);
  if (browser.WithEdit())
    made = made && Control(dialog, WS_EX_CLIENTEDGE, "Edit", "", WS_TABSTOP | ES_AUTOHSCROLL, at.edit,
                           PLATFORM_BROWSE_EDIT_ID);
  made = made && Control(dialog, WS_EX_CLIENTEDGE, "ListBox", "",
                         WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, at.list,
                         PLATFORM_BROWSE_LIST_ID);
  made = made && Control(dialog, 0, "Button", kOkCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, at.ok, IDOK);
  made =
      made && Control(dialog, 0, "Button", kCancelCaption, WS_TABSTOP | BS_PUSHBUTTON, at.cancel, IDCANCEL);
  return made;
}

Browser& BrowserOf(HWND dialog) {
  return *reinterpret_cast<Browser*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

std::string Cp936(const std::string& utf8) { return platform::Utf8ToCp936(utf8); }

std::string PathOfEntry(const Browser& browser, size_t index) {
  const shell32::FolderEntry& entry = browser.entries[index];
  return entry.name == kUp && index == 0 && browser.folder != "/" ? shell32::ParentOf(browser.folder)
                                                                  : shell32::Join(browser.folder, entry.name);
}

void ShowPath(HWND dialog, const std::string& utf8) {
  SetDlgItemTextA(dialog, PLATFORM_BROWSE_EDIT_ID, Cp936(utf8).c_str());
}

void Enter(HWND dialog, const std::string& folder) {
  Browser& browser = BrowserOf(dialog);
  browser.folder = folder;
  browser.entries.clear();
  if (folder != "/")
    browser.entries.push_back({kUp, true});
  for (shell32::FolderEntry& entry : shell32::ListFolder(folder, browser.WithFiles()))
    browser.entries.push_back(std::move(entry));
  HWND list = GetDlgItem(dialog, PLATFORM_BROWSE_LIST_ID);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const shell32::FolderEntry& entry : browser.entries)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp936(entry.name).c_str()));
  ShowPath(dialog, folder);
}

int SelectedIndex(HWND dialog) {
  auto index = static_cast<int>(SendDlgItemMessageA(dialog, PLATFORM_BROWSE_LIST_ID, LB_GETCURSEL, 0, 0));
  return index >= 0 && static_cast<size_t>(index) < BrowserOf(dialog).entries.size() ? index : -1;
}

void ShowSelection(HWND dialog) {
  if (int index = SelectedIndex(dialog); index >= 0)
    ShowPath(dialog, PathOfEntry(BrowserOf(dialog), static_cast<size_t>(index)));
}

void OpenSelection(HWND dialog) {
  int index = SelectedIndex(dialog);
  if (index < 0)
    return;
  Browser& browser = BrowserOf(dialog);
  std::string path = PathOfEntry(browser, static_cast<size_t>(index));
  if (browser.entries[static_cast<size_t>(index)].folder)
    Enter(dialog, path);
  else
    ShowPath(dialog, path);
}

// What the user asks for: the edit box's path, or without one the selected
// entry (the current folder when nothing is selected). UTF-8, absolute.
std::string RequestedPath(HWND dialog) {
  Browser& browser = BrowserOf(dialog);
  if (!browser.WithEdit()) {
    int index = SelectedIndex(dialog);
    return index >= 0 ? PathOfEntry(browser, static_cast<size_t>(index)) : browser.folder;
  }
  char typed[1024] = {};
  GetDlgItemTextA(dialog, PLATFORM_BROWSE_EDIT_ID, typed, sizeof typed);
  std::string path = platform::PathToUtf8(typed);
  if (path.empty())
    return {};
  return shell32::NormalPath(path[0] == '/' ? path : browser.folder + "/" + path);
}

void KeepDisplayName(const Browser& browser, const std::string& cp936Name) {
  if (!browser.info->pszDisplayName)
    return;
  size_t copied = std::min(cp936Name.size(), kDisplayNameBytes - 1);
  std::memcpy(browser.info->pszDisplayName, cp936Name.data(), copied);
  browser.info->pszDisplayName[copied] = '\0';
}

void Accept(HWND dialog) {
  Browser& browser = BrowserOf(dialog);
  std::string path = RequestedPath(dialog);
  bool takes = !path.empty() && (shell32::IsFolder(path) || (browser.WithFiles() && shell32::Exists(path)));
  LPITEMIDLIST list = takes ? PlatformCreatePathIdList(Cp936(path).c_str()) : nullptr;
  if (!list) {
    MessageBeep(MB_OK);
    return;
  }
  browser.chosen = list;
  KeepDisplayName(browser, Cp936(shell32::LastPart(path)));
  EndDialog(dialog, IDOK);
}

void Command(HWND dialog, WORD id, WORD code) {
  switch (id) {
  case IDOK:
    Accept(dialog);
    break;
  case IDCANCEL:
    EndDialog(dialog, IDCANCEL);
    break;
  case PLATFORM_BROWSE_LIST_ID:
    if (code == LBN_SELCHANGE)
      ShowSelection(dialog);
    else if (code == LBN_DBLCLK)
      OpenSelection(dialog);
    break;
  }
}

INT_PTR BrowserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_INITDIALOG: {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
    auto& browser = *reinterpret_cast<Browser*>(lParam);
    if (!CreateControls(dialog, browser)) {
      DestroyWindow(dialog);
      return TRUE;
    }
    Enter(dialog, browser.folder);
    return TRUE;
  }
  case WM_COMMAND:
    Command(dialog, LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  default:
    return FALSE;
  }
}

std::string StartFolder(LPCITEMIDLIST root) {
  char path[260] = {};
  if (root && SHGetPathFromIDListA(root, path)) {
    std::string folder = platform::PathToUtf8(path);
    if (!folder.empty() && folder[0] == '/' && shell32::IsFolder(folder))
      return shell32::NormalPath(folder);
  }
  return shell32::HomeFolder();
}

} // namespace

LPITEMIDLIST SHBrowseForFolderA(const BROWSEINFOA* info) {
  if (!info)
    return nullptr;
  Browser browser{info, StartFolder(info->pidlRoot), {}, {}, nullptr};
  browser.layout = LayOut(browser);
  HWND dialog = PlatformCreateDialog(info->hwndOwner, kTitle, kWidth, browser.layout.height, BrowserProc,
                                     reinterpret_cast<LPARAM>(&browser));
  if (!dialog)
    return nullptr;
  if (PlatformRunModalDialog(dialog) == IDOK)
    return browser.chosen;
  ShellAllocator().Free(browser.chosen);
  return nullptr;
}
