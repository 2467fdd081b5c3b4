#include "ui/child_control.h"
#include "ui/control_registry.h"
#include "ui/message_dispatch.h"
#include "ui/top_window.h"
#include "user32/input.h"
#include "user32/message.h"
#include "user32/window_geometry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int runs = 0;
int created_runs = 0;
bool shown_when_created = false;
TopWindow* being_created = nullptr;

void CountRun() { runs++; }
void OnCreated() {
  created_runs++;
  shown_when_created = being_created && IsWindowVisible(being_created->Handle());
}

// A fresh set of toolkit tables for every test, and every window it made
// destroyed afterwards.
class ToolkitTest : public testing::Test {
protected:
  void SetUp() override {
    FreeToolkitTables();
    FirstWindowHandle = nullptr;
    InstanceHandle = nullptr;
    runs = created_runs = 0;
  }
  void TearDown() override {
    for (HWND w : {second.Handle(), main.Handle()})
      if (w && IsWindow(w))
        DestroyWindow(w);
    DrainQueue();
    FreeToolkitTables();
    FirstWindowHandle = nullptr;
  }
  // True when a quit request was waiting.
  bool DrainQueue() {
    MSG m{};
    bool quit = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
      quit = quit || m.message == WM_QUIT;
    return quit;
  }
  RECT Outer(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
  }
  intptr_t Parent() { return reinterpret_cast<intptr_t>(main.Handle()); }

  TopWindow main;
  TopWindow second;
};

TEST_F(ToolkitTest, CreateWithEveryArgumentOmitted) {
  being_created = &main;
  HWND w = main.Create({}, {}, {}, {}, {}, {}, nullptr, {}, {}, OnCreated);
  ASSERT_NE(w, nullptr);
  EXPECT_STREQ(main.Text().Bytes(), "我的窗口");
  RECT r = Outer(w);
  EXPECT_EQ(r.right - r.left, 380);
  EXPECT_EQ(r.bottom - r.top, 250);
  EXPECT_EQ(r.left, (1024 - 380) / 2);
  EXPECT_EQ(r.top, (768 - 250) / 2);
  EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & 0x004F0000, 0x004F0000);
  EXPECT_EQ(GetParent(w), nullptr);
  EXPECT_EQ(main.Visible(), 1);
  EXPECT_EQ(main.Shown(), 1);
  EXPECT_EQ(created_runs, 1);
  EXPECT_TRUE(shown_when_created);
  EXPECT_EQ(FirstWindowHandle, w);
  EXPECT_STREQ(WindowClassName.Bytes(), "MyWindow");
}

TEST_F(ToolkitTest, PlacementCentresAndMoveReturnsToTheStoredPlace) {
  main.Create(0, TextRef("QuenmarCantiva V1.1"), 50, 50, 456, 189, nullptr, 0x008A0000);
  main.Placement(1);
  RECT r = Outer(main.Handle());
  EXPECT_EQ(r.left, 284);
  EXPECT_EQ(r.top, 289);
  EXPECT_EQ(r.right - r.left, 456);
  RECT client{};
  GetClientRect(main.Handle(), &client);
  EXPECT_EQ(client.right, 450);
  EXPECT_EQ(client.bottom, 164);
  main.Move({}, {}, 500);
  r = Outer(main.Handle());
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 500);
}

TEST_F(ToolkitTest, ControlIdsFollowCreationAndOnlySuccessGrowsTheRegistry) {
  main.Create(0, TextRef("main"));
  Label a, failed, b;
  Button button;
  CheckBox box;
  a.Create(Parent(), TextRef("a"), 8, 8, 100, 16, 21);
  EXPECT_EQ(failed.Create(Parent(), TextRef("x"), 0, 0, 10, 10, 26), nullptr);
  EXPECT_EQ(ControlRegistry.Count(), 2);
  b.Create(Parent(), TextRef("b"), 8, 30, 100, 16, 21);
  button.Create(Parent(), TextRef("按钮"));
  box.Create(Parent(), TextRef("生成日志"));
  EXPECT_EQ(main.ControlId(), 1);
  EXPECT_EQ(a.ControlId(), 2);
  EXPECT_EQ(b.ControlId(), 3);
  EXPECT_EQ(button.ControlId(), 4);
  EXPECT_EQ(box.ControlId(), 5);
  EXPECT_EQ(ControlRegistry.Count(), 5);
  EXPECT_EQ(GetDlgCtrlID(button.Handle()), 4);
  EXPECT_EQ(ControlRegistry.Entry(4)->Id, 4);
  EXPECT_EQ(ControlRegistry.Entry(1)->Id, 0);
  // The failed label keeps no identifier, so its handler goes nowhere.
  EXPECT_EQ(failed.OwnControlId(), 0);
  failed.OnLeftDown(CountRun);
  for (int32_t i = 1; i <= ControlRegistry.Count(); i++)
    EXPECT_EQ(ControlRegistry.Entry(i)->LeftDown, nullptr);
  EXPECT_EQ(GetWindowLongA(a.Handle(), GWL_STYLE), 0x50020000);
  EXPECT_EQ(GetWindowLongA(button.Handle(), GWL_STYLE), 0x50010000);
  EXPECT_EQ(GetWindowLongA(box.Handle(), GWL_STYLE), 0x50010703);
}

TEST_F(ToolkitTest, ControlDefaultsAndTheirFont) {
  main.Create(0, TextRef("main"));
  Label label;
  ASSERT_NE(label.Create(Parent()), nullptr);
  EXPECT_STREQ(label.Text().Bytes(), "Qpn静态控件");
  EXPECT_EQ(label.Left(), 0);
  EXPECT_EQ(label.Width(), 80);
  EXPECT_EQ(label.Height(), 32);
  EXPECT_EQ(GetWindowLongA(label.Handle(), GWL_STYLE), 0x50020002);
  EXPECT_NE(SendMessageA(label.Handle(), WM_GETFONT, 0, 0), 0);
  Button button;
  button.Create(Parent());
  EXPECT_STREQ(button.Text().Bytes(), "按钮");
  CheckBox box;
  box.Create(Parent());
  EXPECT_STREQ(box.Text().Bytes(), "选择框");
}

TEST_F(ToolkitTest, TextDisabledAndCheckState) {
  main.Create(0, TextRef("main"));
  Label status;
  status.Create(Parent(), TextRef("准备中……"), 8, 136, 360, 16, 21);
  EXPECT_TRUE(status.Text(TextRef("")).IsEmpty());
  EXPECT_STREQ(status.Text().Bytes(), "准备中……");
  EXPECT_STREQ(status.Text(TextRef("第二首")).Bytes(), "第二首");
  EXPECT_STREQ(status.Text().Bytes(), "第二首");

  EXPECT_EQ(main.Disabled(), 1);
  EXPECT_EQ(main.Disabled(1), 0);
  EXPECT_EQ(main.Disabled(0), 1);

  CheckBox three;
  three.Create(Parent(), TextRef("三态"), 0, 0, 80, 20, 5);
  EXPECT_EQ(three.CheckState(7), 2);
  EXPECT_EQ(three.CheckState(-3), 0);
  CheckBox box;
  box.Create(Parent(), TextRef("生成日志"));
  EXPECT_EQ(box.CheckState(1), 1);
  EXPECT_EQ(box.CheckState(), 1);
  EXPECT_EQ(box.CheckState(0), 0);
}

TEST_F(ToolkitTest, DispatchRunsHandlersByIdentifier) {
  main.Create(0, TextRef("main"));
  Label labels[6];
  for (Label& l : labels)
    l.Create(Parent(), TextRef("l"), 0, 0, 10, 10, 21);
  Button button;
  button.Create(Parent(), TextRef("选择歌曲所在目录"));
  button.OnClicked(CountRun);
  CheckBox box;
  box.Create(Parent(), TextRef("生成日志"));
  ASSERT_EQ(button.ControlId(), 8);
  ASSERT_EQ(box.ControlId(), 9);
  auto button_l = reinterpret_cast<LPARAM>(button.Handle());
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_COMMAND, MAKEWPARAM(8, 0), button_l), 0);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_COMMAND, MAKEWPARAM(9, 0), reinterpret_cast<LPARAM>(box.Handle())), 0);
  EXPECT_EQ(runs, 1);
  // A menu command: the menu registry is empty.
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_COMMAND, MAKEWPARAM(8, 0), 0), 1);
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_COMMAND, MAKEWPARAM(8, 0x77), button_l), 1);
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_COMMAND, MAKEWPARAM(99, 0), button_l), 1);
  EXPECT_EQ(runs, 1);

  NotifyHeader click{button.Handle(), 8, static_cast<UINT>(-2)};
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&click)), 0);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(GetFocus(), button.Handle());

  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_LBUTTONDOWN, 0, 0), 0);
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_SIZE, 0, 0), 0);
  EXPECT_EQ(DispatchMessageEvent(main.Handle(), WM_CLOSE, 0, 0), 1);
  EXPECT_EQ(DispatchMessageEvent(reinterpret_cast<HWND>(intptr_t{12345}), WM_LBUTTONDOWN, 0, 0), 1);
}

TEST_F(ToolkitTest, OnlyTheFirstWindowsDestructionEndsTheLoop) {
  main.Create(0, TextRef("main"));
  second.Create(0, TextRef("second"));
  second.OnDestroyed(CountRun);
  EXPECT_EQ(FirstWindowHandle, main.Handle());
  DestroyWindow(second.Handle());
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(DrainQueue());
  DestroyWindow(main.Handle());
  EXPECT_TRUE(DrainQueue());
}

TEST_F(ToolkitTest, ClosingTheWindowGoesToDefaultProcessing) {
  main.Create(0, TextRef("main"));
  SendMessageA(main.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(main.Handle()));
  EXPECT_TRUE(DrainQueue());
}

TEST_F(ToolkitTest, AVisibleFlagOtherThanOneLeavesTheWindowHidden) {
  main.Create(0, TextRef("main"), 0, 0, 100, 100, nullptr, 0x00CF0000, 2);
  EXPECT_EQ(main.Visible(), 0);
  EXPECT_EQ(main.Shown(), 0);
  EXPECT_EQ(main.Topmost(0), 1);
  EXPECT_EQ(main.Topmost(), 1);
}

TEST_F(ToolkitTest, DestroyEmptiesTheRecordButKeepsWindowAndEntry) {
  main.Create(0, TextRef("main"));
  HWND w = main.Handle();
  std::unique_ptr<WindowObject> copy = main.Clone();
  EXPECT_EQ(copy->Handle(), w);
  EXPECT_STREQ(copy->ClassName(), "TopWindow");
  main.Destroy();
  EXPECT_EQ(main.Handle(), nullptr);
  EXPECT_EQ(main.ControlId(), 0);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(ControlRegistry.Count(), 1);
  DestroyWindow(w);
}

} // namespace
