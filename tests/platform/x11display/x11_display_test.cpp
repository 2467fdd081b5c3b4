// The X11 display against a private Xvfb: a window made through the window
// system, checked from a second X connection (properties, geometry, the
// picture on the screen) and driven with real input (xdotool over XTEST,
// client messages).
#include "environment_variable.h"
#include "xvfb_display.h"

#include "gdi32/gdi.h"
#include "kernel32/conversion.h"
#include "kernel32/module.h"
#include "user32/controls.h"
#include "user32/display_backend.h"
#include "user32/input.h"
#include "user32/message.h"
#include "user32/paint.h"
#include "user32/resource.h"
#include "user32/window.h"
#include "user32/window_geometry.h"
#include "user32/window_system_test.h"
#include "x11display/key_map.h"

// gtest first: Xlib's macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClientWidth = 450;
constexpr int kClientHeight = 164;
constexpr DWORD kFixedStyle = 0x008A0000; // border, system menu, minimise box
constexpr WORD kIconId = 129;
constexpr int kIconSide = 32;
constexpr int kButtonId = 8;
constexpr int kCheckId = 9;
constexpr int kEditId = 10;
constexpr RECT kLabel{8, 8, 448, 24};
constexpr RECT kButton{8, 104, 144, 128};
constexpr RECT kCheck{368, 136, 440, 162};
constexpr uint32_t kFace = 0xD4D0C8;                                   // the button face, as X pixels
constexpr const char* kTitleUtf8 = "Cantiva \xe6\xad\x8c\xe8\xaf\x8d"; // "Cantiva 歌词"
constexpr const char* kLabelUtf8 =
    "\xe7\x9b\xae\xe5\xbd\x95\xe6\x9c\xaa\xe9\x80\x89\xe6\x8b\xa9"; // 目录未选择
constexpr const char* kSimSunUtf8 = "\xe5\xae\x8b\xe4\xbd\x93";     // 宋体

std::string Gbk(const char* utf8) {
  int size = PlatformUtf8ToCp936(utf8, -1, nullptr, 0);
  std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
  PlatformUtf8ToCp936(utf8, -1, out.data(), size);
  out.resize(std::strlen(out.c_str()));
  return out;
}

// What the main window's procedure saw, from the window's own thread.
struct Seen {
  std::mutex mutex;
  std::vector<std::pair<UINT, WPARAM>> messages;

  void Add(UINT message, WPARAM wParam) {
    std::lock_guard lock(mutex);
    messages.emplace_back(message, wParam);
  }
  bool Has(UINT message, WPARAM wParam) {
    std::lock_guard lock(mutex);
    for (const auto& [m, w] : messages) {
      if (m == message && w == wParam)
        return true;
    }
    return false;
  }
  void Clear() {
    std::lock_guard lock(mutex);
    messages.clear();
  }
};

Seen& Recorded() {
  static Seen seen;
  return seen;
}

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_CLOSE)
    Recorded().Add(message, wParam);
  if (message == WM_CLOSE)
    return 0; // the test destroys the window itself
  return DefWindowProcA(window, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    PlatformTestPumpMessages();
    if (done())
      return true;
    if (Clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::vector<uint32_t> TestIcon() {
  std::vector<uint32_t> pixels(kIconSide * kIconSide);
  for (int i = 0; i < kIconSide * kIconSide; i++)
    pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u & 0x00FFFFFF);
  return pixels;
}

// Reading back from the server, as a window manager would.
class Probe {
public:
  explicit Probe(const std::string& name) : display_(XOpenDisplay(name.c_str())) {}
  ~Probe() {
    if (display_)
      XCloseDisplay(display_);
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  Display* display() const { return display_; }
  Atom Intern(const char* name) const { return XInternAtom(display_, name, False); }

  std::vector<unsigned char> Property(Window window, const char* name, Atom* type, int* format) const {
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned char> bytes;
    if (XGetWindowProperty(display_, window, Intern(name), 0, 1 << 20, False, AnyPropertyType, type, format,
                           &count, &after, &data) == Success &&
        data) {
      size_t unit = *format == 32 ? sizeof(long) : *format == 16 ? sizeof(short) : 1;
      bytes.assign(data, data + count * unit);
      XFree(data);
    }
    return bytes;
  }

  std::vector<long> Longs(Window window, const char* name) const {
    Atom type = 0;
    int format = 0;
    auto bytes = Property(window, name, &type, &format);
    std::vector<long> values(bytes.size() / sizeof(long));
    if (format == 32)
      std::memcpy(values.data(), bytes.data(), values.size() * sizeof(long));
    return values;
  }

  std::string Utf8(Window window, const char* name) const {
    Atom type = 0;
    int format = 0;
    auto bytes = Property(window, name, &type, &format);
    return type == Intern("UTF8_STRING") ? std::string(bytes.begin(), bytes.end()) : std::string();
  }

  // The top-level window with this _NET_WM_NAME, or 0.
  Window Find(const std::string& title) const {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
      for (unsigned i = 0; i < count && !found; i++) {
        if (Utf8(children[i], "_NET_WM_NAME") == title)
          found = children[i];
      }
      if (children)
        XFree(children);
    }
    return found;
  }

  bool Viewable(Window window) const {
    XWindowAttributes attributes{};
    return window && XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state == IsViewable;
  }

  // Pixels of the screen, 0xRRGGBB.
  std::vector<uint32_t> Screen(const RECT& rect) const {
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), rect.left, rect.top,
                              static_cast<unsigned>(rect.right - rect.left),
                              static_cast<unsigned>(rect.bottom - rect.top), AllPlanes, ZPixmap);
    if (!image)
      return pixels;
    for (int y = 0; y < rect.bottom - rect.top; y++) {
      for (int x = 0; x < rect.right - rect.left; x++)
        pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
    }
    XDestroyImage(image);
    return pixels;
  }

private:
  Display* display_;
};

class X11DisplayTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!XvfbDisplay::Installed())
      return;
    server_ = std::make_unique<XvfbDisplay>();
    if (!server_->Start())
      server_.reset();
  }

  static void TearDownTestSuite() {
    server_.reset();
  }

  void SetUp() override {
    if (!XvfbDisplay::Installed())
      GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_NE(server_, nullptr) << "Xvfb did not start";
    display_ = std::make_unique<EnvironmentVariable>("DISPLAY", server_->Name().c_str());
    choice_ = std::make_unique<EnvironmentVariable>("CANTIVA_DISPLAY", "x11");
    PlatformTestResetWindowSystem();
    ASSERT_STREQ(PlatformDisplayName(), "x11");
    probe_ = std::make_unique<Probe>(server_->Name());
    ASSERT_NE(probe_->display(), nullptr);
    Recorded().Clear();
    instance_ = GetModuleHandleA(nullptr);
    std::vector<uint32_t> icon = TestIcon();
    ASSERT_TRUE(PlatformRegisterResourceIcon(instance_, kIconId, icon.data(), kIconSide, kIconSide));
  }

  void TearDown() override {
    if (main_)
      DestroyWindow(main_);
    PlatformTestPumpMessages();
    probe_.reset();
    {
      EnvironmentVariable headless("CANTIVA_DISPLAY", "headless");
      PlatformTestResetWindowSystem();
    }
    choice_.reset();
    display_.reset();
  }

  // A window like the program's: 450 by 164 inside its frame, a label, a
  // push button and a ticked check box in the control font.
  void CreateMainWindow(DWORD style = kFixedStyle) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(kIconId));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = "X11DisplayTestWindow";
    ASSERT_NE(RegisterClassExA(&windowClass), 0);
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, style | WS_CAPTION, FALSE, 0); // a top-level window always has a caption
    std::string title = Gbk(kTitleUtf8);
    main_ = CreateWindowExA(0, "X11DisplayTestWindow", title.c_str(), style | WS_VISIBLE, 50, 50,
                            outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance_,
                            nullptr);
    ASSERT_NE(main_, nullptr);
    std::string face = Gbk(kSimSunUtf8);
    font_ = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 134, 0, 0, 0, 0, face.c_str());
    Child("Static", Gbk(kLabelUtf8).c_str(), SS_LEFT, kLabel, 2);
    Child("BUTTON", "Choose", BS_PUSHBUTTON | WS_TABSTOP, kButton, kButtonId);
    HWND check = Child("BUTTON", "Log", BS_AUTOCHECKBOX | WS_TABSTOP, kCheck, kCheckId);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(PumpUntil([&] {
      xid_ = probe_->Find(kTitleUtf8);
      return probe_->Viewable(xid_);
    })) << "no viewable X window with the title";
  }

  HWND Child(const char* windowClass, const char* text, DWORD style, const RECT& at, int id) {
    HWND child = CreateWindowExA(0, windowClass, text, style | WS_CHILD | WS_VISIBLE, at.left, at.top,
                                 at.right - at.left, at.bottom - at.top, main_,
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), instance_, nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), 1);
    return child;
  }

  POINT OnScreen(const RECT& rect) const {
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(main_, &centre);
    return centre;
  }

  RECT ScreenRect(const RECT& rect) const {
    POINT corner{rect.left, rect.top};
    ClientToScreen(main_, &corner);
    return {corner.x, corner.y, corner.x + rect.right - rect.left, corner.y + rect.bottom - rect.top};
  }

  static bool Xdotool(const std::vector<std::string>& arguments) {
    return RunBounded("xdotool", arguments, 10000) == 0;
  }

  void Click(POINT at) {
    ASSERT_TRUE(Xdotool({"mousemove", std::to_string(at.x), std::to_string(at.y), "click", "1"}));
  }

  static std::unique_ptr<XvfbDisplay> server_;
  std::unique_ptr<EnvironmentVariable> display_;
  std::unique_ptr<EnvironmentVariable> choice_;
  std::unique_ptr<Probe> probe_;
  HINSTANCE instance_ = nullptr;
  HWND main_ = nullptr;
  HFONT font_ = nullptr;
  Window xid_ = 0;
};

std::unique_ptr<XvfbDisplay> X11DisplayTest::server_;

TEST_F(X11DisplayTest, TopLevelWindowIsAnXWindowOfItsClientArea) {
  CreateMainWindow();
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(probe_->display(), xid_, &attributes));
  EXPECT_EQ(attributes.width, kClientWidth);
  EXPECT_EQ(attributes.height, kClientHeight);
  POINT corner{0, 0};
  ClientToScreen(main_, &corner);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(probe_->display(), xid_, DefaultRootWindow(probe_->display()), 0, 0, &x, &y, &child);
  EXPECT_EQ(x, corner.x);
  EXPECT_EQ(y, corner.y);
  SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_EQ(screen.cx, 1024);
  EXPECT_EQ(screen.cy, 768);

  DestroyWindow(main_);
  main_ = nullptr;
  EXPECT_TRUE(PumpUntil([&] { return probe_->Find(kTitleUtf8) == 0; })) << "the X window outlived its window";
}

TEST_F(X11DisplayTest, WindowManagerHintsFollowTheStyles) {
  struct Case {
    DWORD style;
    bool fixedSize;
    bool maximizes;
  } cases[] = {{kFixedStyle, true, false}, {WS_OVERLAPPEDWINDOW, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    CreateMainWindow(c.style);
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(probe_->display(), xid_, &hints, &supplied));
    bool fixed = (hints.flags & PMinSize) && (hints.flags & PMaxSize) && hints.min_width == kClientWidth &&
                 hints.max_width == kClientWidth && hints.min_height == kClientHeight &&
                 hints.max_height == kClientHeight;
    EXPECT_EQ(fixed, c.fixedSize);

    std::vector<long> motif = probe_->Longs(xid_, "_MOTIF_WM_HINTS");
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ((motif[1] & 16) != 0, c.maximizes) << "maximise function";
    EXPECT_EQ((motif[2] & 64) != 0, c.maximizes) << "maximise button";
    EXPECT_NE(motif[1] & 8, 0) << "minimise function";
    EXPECT_EQ((motif[1] & 2) != 0, !c.fixedSize) << "resize function";

    DestroyWindow(main_);
    main_ = nullptr;
    UnregisterClassA("X11DisplayTestWindow", instance_);
    PlatformTestPumpMessages();
  }
}

TEST_F(X11DisplayTest, TitleIconAndCloseProtocolAreSet) {
  CreateMainWindow();
  EXPECT_EQ(probe_->Utf8(xid_, "_NET_WM_NAME"), kTitleUtf8);

  XTextProperty name{};
  ASSERT_TRUE(XGetWMName(probe_->display(), xid_, &name));
  char** list = nullptr;
  int count = 0;
  ASSERT_GE(Xutf8TextPropertyToTextList(probe_->display(), &name, &list, &count), Success);
  ASSERT_GE(count, 1);
  EXPECT_STREQ(list[0], kTitleUtf8);
  XFreeStringList(list);
  XFree(name.value);

  std::vector<long> icon = probe_->Longs(xid_, "_NET_WM_ICON");
  std::vector<uint32_t> expected = TestIcon();
  ASSERT_GE(icon.size(), 2u + expected.size() + 2u + 16u * 16u);
  EXPECT_EQ(icon[0], kIconSide);
  EXPECT_EQ(icon[1], kIconSide);
  for (size_t i = 0; i < expected.size(); i++)
    ASSERT_EQ(static_cast<uint32_t>(icon[2 + i]), expected[i]) << "pixel " << i;
  EXPECT_EQ(icon[2 + expected.size()], 16);
  EXPECT_EQ(icon[3 + expected.size()], 16);

  Atom* protocols = nullptr;
  int protocolCount = 0;
  ASSERT_TRUE(XGetWMProtocols(probe_->display(), xid_, &protocols, &protocolCount));
  bool closes = false;
  for (int i = 0; i < protocolCount; i++)
    closes = closes || protocols[i] == probe_->Intern("WM_DELETE_WINDOW");
  XFree(protocols);
  EXPECT_TRUE(closes);
}

TEST_F(X11DisplayTest, DeleteWindowRequestBecomesWmClose) {
  CreateMainWindow();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = xid_;
  event.xclient.message_type = probe_->Intern("WM_PROTOCOLS");
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(probe_->Intern("WM_DELETE_WINDOW"));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(probe_->display(), xid_, False, NoEventMask, &event);
  XFlush(probe_->display());
  EXPECT_TRUE(PumpUntil([] { return Recorded().Has(WM_CLOSE, 0); }));
}

TEST_F(X11DisplayTest, ClicksReachTheControls) {
  if (!XvfbDisplay::Installed() || RunBounded("xdotool", {"version"}, 5000) != 0)
    GTEST_SKIP() << "xdotool is not installed";
  CreateMainWindow();
  Click(OnScreen(kButton));
  EXPECT_TRUE(PumpUntil([] { return Recorded().Has(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED)); }));

  HWND check = GetDlgItem(main_, kCheckId);
  Click(OnScreen(kCheck));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageA(check, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));

  // A disabled window takes no input at all.
  Recorded().Clear();
  EnableWindow(main_, FALSE);
  Click(OnScreen(kButton));
  PumpUntil([] { return false; }, 300);
  EXPECT_FALSE(Recorded().Has(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED)));
}

TEST_F(X11DisplayTest, TypedKeysReachTheFocusedEdit) {
  if (RunBounded("xdotool", {"version"}, 5000) != 0)
    GTEST_SKIP() << "xdotool is not installed";
  CreateMainWindow();
  HWND edit = Child("Edit", "", ES_AUTOHSCROLL | WS_TABSTOP, {150, 104, 440, 124}, kEditId);
  SetFocus(edit);
  POINT inside = OnScreen({150, 104, 440, 124});
  ASSERT_TRUE(Xdotool({"mousemove", std::to_string(inside.x), std::to_string(inside.y)}));
  ASSERT_TRUE(Xdotool({"type", "--delay", "20", "Ab1/"}));
  char text[32] = {};
  EXPECT_TRUE(PumpUntil([&] {
    GetWindowTextA(edit, text, sizeof text);
    return std::strcmp(text, "Ab1/") == 0;
  })) << "typed: "
      << text;
}

TEST_F(X11DisplayTest, ScreenShowsTheClassicPicture) {
  CreateMainWindow();
  std::vector<uint32_t> label;
  // Painting ends with a copy to the X window; wait for it to land.
  ASSERT_TRUE(PumpUntil([&] {
    label = probe_->Screen(ScreenRect(kLabel));
    return std::count_if(label.begin(), label.end(), [](uint32_t p) { return p != kFace; }) > 40;
  })) << "no text where the label is";
  // Five characters of 12 pixels: the rest of the label is plain face.
  std::vector<uint32_t> rest = probe_->Screen(ScreenRect({120, 8, 448, 24}));
  EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](uint32_t p) { return p == kFace; }));
  // Dark text on the face.
  EXPECT_TRUE(std::any_of(label.begin(), label.end(), [](uint32_t p) { return (p & 0xFF) < 0x40; }));

  // A raised push button: white inner highlight, dark outer shadow.
  RECT button = ScreenRect(kButton);
  std::vector<uint32_t> corners = probe_->Screen({button.left, button.top, button.right, button.bottom});
  LONG width = button.right - button.left, height = button.bottom - button.top;
  EXPECT_EQ(corners[static_cast<size_t>(1 * width + 1)], 0xFFFFFFu);
  EXPECT_EQ(corners[static_cast<size_t>((height - 1) * width + width - 1)], 0x404040u);
  // The ticked box: its white inside holds black tick pixels.
  std::vector<uint32_t> box = probe_->Screen(ScreenRect(kCheck));
  EXPECT_TRUE(std::any_of(box.begin(), box.end(), [](uint32_t p) { return p == 0xFFFFFFu; }));
  EXPECT_TRUE(std::any_of(box.begin(), box.end(), [](uint32_t p) { return p == 0x000000u; }));
}

TEST_F(X11DisplayTest, WindowOfAnotherThreadIsShownThroughTheDisplayThread) {
  CreateMainWindow();
  std::atomic<bool> stop{false};
  std::atomic<bool> ended{false};
  std::thread worker([&] {
    HWND window = CreateWindowExA(0, "Static", "Worker", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 200,
                                  80, nullptr, nullptr, instance_, nullptr);
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!stop && Clock::now() < deadline) {
      PlatformTestPumpMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    DestroyWindow(window);
    ended = true;
  });
  Window shown = 0;
  EXPECT_TRUE(PumpUntil([&] {
    shown = probe_->Find("Worker");
    return probe_->Viewable(shown);
  })) << "the worker's window never showed";
  // Its own thread painted it; the text still reaches the screen.
  EXPECT_TRUE(PumpUntil([&] {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(probe_->display(), shown, DefaultRootWindow(probe_->display()), 0, 0, &x, &y,
                          &child);
    std::vector<uint32_t> text = probe_->Screen({x, y, x + 60, y + 16});
    return std::count_if(text.begin(), text.end(), [](uint32_t p) { return p != kFace; }) > 20;
  })) << "the worker's paint never showed";
  stop = true;
  // Activation crosses between the threads: keep this one answering.
  EXPECT_TRUE(PumpUntil([&] { return ended.load(); }, 15000));
  worker.join();
  EXPECT_TRUE(PumpUntil([&] { return probe_->Find("Worker") == 0; }));
}

TEST(X11KeyMap, KeysymsGiveTheirVirtualKeys) {
  struct Case {
    unsigned long keysym;
    UINT vk;
  } cases[] = {{XK_a, 'A'},
               {XK_Z, 'Z'},
               {XK_7, '7'},
               {XK_KP_3, VK_NUMPAD0 + 3},
               {XK_F4, VK_F4},
               {XK_Return, VK_RETURN},
               {XK_Tab, VK_TAB},
               {XK_ISO_Left_Tab, VK_TAB},
               {XK_Shift_L, VK_LSHIFT},
               {XK_Control_R, VK_RCONTROL},
               {XK_BackSpace, VK_BACK},
               {XK_slash, VK_OEM_2},
               {XK_semicolon, VK_OEM_1},
               {XK_Delete, VK_DELETE},
               {XK_Left, VK_LEFT},
               {XK_adiaeresis, 0},
               {XK_Hangul, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(PlatformX11VirtualKey(c.keysym), c.vk) << std::hex << c.keysym;
}

} // namespace
