// The headless display (internal to libuser32): shows nothing, keeps each
// top-level window's state and records what every window drew in its last
// paint, for the test calls of user32/headless_display.h.
//
// Its text metrics are fixed, so layouts are the same on every machine: a
// font of cell height h (|height|, 16 when 0) has lines h pixels high,
// single-byte characters h/2 (rounded up) wide and two-byte characters h
// wide.
#pragma once

#include "user32/display_backend.h"
#include "user32/headless_display.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace user32 {

struct HeadlessState {
  struct Picture {
    std::vector<PlatformTextRun> runs;
    int checkMark = -1;
    int paints = 0;
  };

  std::mutex mutex;
  SIZE screen{1024, 768};
  std::map<HWND, PlatformNativeWindow> natives;
  std::map<HWND, Picture> pictures;
};

class HeadlessDisplay : public DisplayBackend {
public:
  HeadlessDisplay() : state_(std::make_shared<HeadlessState>()) {}

  SIZE ScreenSize() override;
  void CreateWindow(const DisplayWindow& window) override;
  void DestroyWindow(HWND window) override;
  void ShowWindow(HWND window, DisplayShow show) override;
  void MoveWindow(HWND window, const RECT& outer, const RECT& client) override;
  void SetTitle(HWND window, const char* title) override;
  void SetTopmost(HWND window, bool topmost) override;
  std::unique_ptr<Painter> BeginPaint(const PaintTarget& target) override;

  // Painters keep the state alive, so a late one never writes into freed
  // memory.
  const std::shared_ptr<HeadlessState>& State() const { return state_; }

private:
  std::shared_ptr<HeadlessState> state_;
};

std::shared_ptr<DisplayBackend> MakeHeadlessDisplay();
SIZE HeadlessTextExtent(const char* text, int length, const PlatformFontSpec& font);

} // namespace user32
