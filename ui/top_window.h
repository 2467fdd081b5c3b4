// TopWindow: the toolkit's top-level window, of the window class "MyWindow"
// that the first Create registers. Its messages go through the toolkit's
// dispatcher. The first one created is FirstWindowHandle, whose destruction
// ends the message loop.
#pragma once

#include "ui/window_object.h"

constexpr DWORD kTopWindowDefaultStyle = 0x004F0000;

class TopWindow : public WindowObject {
public:
  TopWindow() = default;

  void Destroy() override;
  std::unique_ptr<WindowObject> Clone() const override { return std::make_unique<TopWindow>(*this); }
  const char* ClassName() const override { return "TopWindow"; }

  // 24. The new window's handle, or 0. A negative parent is a foreign
  // window, routed through the dispatcher.
  HWND Create(std::optional<intptr_t> parent = {}, std::optional<TextRef> title = {},
              std::optional<int32_t> left = {}, std::optional<int32_t> top = {}, std::optional<int32_t> width = {},
              std::optional<int32_t> height = {}, HMENU menu = nullptr, std::optional<DWORD> style = {},
              std::optional<int32_t> visible = {}, Handler created = nullptr);
  // 25. Read: the stored flag. Given, whatever its value: above every
  // window that is not topmost, keeping place and size.
  int32_t Topmost(std::optional<int32_t> flag = {});
  // 26. 1 centres on the desktop, 2 minimises, 3 maximises, others restore.
  void Placement(std::optional<int32_t> mode = {});
  // 27, 28.
  void OnSized(Handler handler);
  void OnDestroyed(Handler handler);

  int32_t Shown() const { return shown_; }

private:
  int32_t shown_ = 0;
  int32_t topmost_ = 0;
  DWORD default_style_ = kTopWindowDefaultStyle;
  int32_t own_control_id_ = 0;
};
