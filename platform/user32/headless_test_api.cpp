// What tests use to drive the display and read what windows show.
#include "user32/headless_display.h"

#include "user32/headless_backend.h"
#include "user32/input_router.h"
#include "user32/paint.h"
#include "user32/window_geometry.h"
#include "user32/window_system.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::shared_ptr<user32::HeadlessState> Headless() {
  auto display = user32::System().Display();
  auto* headless = dynamic_cast<user32::HeadlessDisplay*>(display.get());
  return headless ? headless->State() : nullptr;
}

BOOL Deliver(int kind, int x, int y, int button = 0) {
  PlatformRawInput input{};
  input.kind = kind;
  input.point = {x, y};
  input.button = button;
  return user32::DeliverRawInput(input);
}

std::vector<PlatformTextRun> RunsOf(HWND window) {
  auto state = Headless();
  if (!state)
    return {};
  std::lock_guard lock(state->mutex);
  auto it = state->pictures.find(window);
  return it == state->pictures.end() ? std::vector<PlatformTextRun>{} : it->second.runs;
}

} // namespace

void PlatformTestSetScreenSize(int width, int height) {
  if (auto state = Headless()) {
    std::lock_guard lock(state->mutex);
    state->screen = {width, height};
  }
}

BOOL PlatformTestInjectInput(const PlatformRawInput* input) { return PlatformDeliverRawInput(input); }

BOOL PlatformTestMouseMove(int x, int y) { return Deliver(PLATFORM_RAW_MOUSE_MOVE, x, y); }

BOOL PlatformTestMouseButton(int button, BOOL down, int x, int y) {
  return Deliver(down ? PLATFORM_RAW_BUTTON_DOWN : PLATFORM_RAW_BUTTON_UP, x, y, button);
}

BOOL PlatformTestClick(int x, int y) {
  BOOL down = PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, TRUE, x, y);
  BOOL up = PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, FALSE, x, y);
  return down && up;
}

BOOL PlatformTestClickWindow(HWND window, int x, int y) {
  POINT point{x, y};
  if (!ClientToScreen(window, &point))
    return FALSE;
  return PlatformTestClick(point.x, point.y);
}

BOOL PlatformTestWheel(int x, int y, int delta) {
  PlatformRawInput input{};
  input.kind = PLATFORM_RAW_WHEEL;
  input.point = {x, y};
  input.wheelDelta = delta;
  return user32::DeliverRawInput(input);
}

BOOL PlatformTestKey(UINT virtualKey, BOOL down) {
  PlatformRawInput input{};
  input.kind = down ? PLATFORM_RAW_KEY_DOWN : PLATFORM_RAW_KEY_UP;
  input.vk = virtualKey;
  return user32::DeliverRawInput(input);
}

BOOL PlatformTestPressKey(UINT virtualKey) {
  BOOL down = PlatformTestKey(virtualKey, TRUE);
  BOOL up = PlatformTestKey(virtualKey, FALSE);
  return down && up;
}

BOOL PlatformTestTypeText(LPCSTR text) {
  if (!text)
    return FALSE;
  // Whole characters per event, so a two-byte character never splits
  // between two events.
  size_t length = std::strlen(text);
  for (size_t at = 0; at < length;) {
    PlatformRawInput input{};
    input.kind = PLATFORM_RAW_TEXT;
    size_t take = std::min(length - at, sizeof input.text - 2);
    if (take < length - at && static_cast<unsigned char>(text[at + take - 1]) >= 0x81)
      take = std::min(take + 1, length - at);
    std::memcpy(input.text, text + at, take);
    if (!user32::DeliverRawInput(input))
      return FALSE;
    at += take;
  }
  return TRUE;
}

BOOL PlatformTestRequestClose(HWND window) {
  PlatformRawInput input{};
  input.kind = PLATFORM_RAW_CLOSE;
  input.window = window;
  return user32::DeliverRawInput(input);
}

int PlatformTestWindowTextRuns(HWND window, PlatformTextRun* runs, int capacity) {
  std::vector<PlatformTextRun> all = RunsOf(window);
  for (int i = 0; runs && i < capacity && i < static_cast<int>(all.size()); i++)
    runs[i] = all[static_cast<size_t>(i)];
  return static_cast<int>(all.size());
}

int PlatformTestWindowShownText(HWND window, LPSTR buffer, int capacity) {
  std::vector<PlatformTextRun> runs = RunsOf(window);
  std::stable_sort(runs.begin(), runs.end(), [](const PlatformTextRun& a, const PlatformTextRun& b) {
    return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
  });
  std::string shown;
  for (size_t i = 0; i < runs.size(); i++) {
    if (i > 0 && runs[i].rect.top != runs[i - 1].rect.top)
      shown += '\n';
    shown += runs[i].text;
  }
  if (buffer && capacity > 0) {
    size_t copied = std::min(shown.size(), static_cast<size_t>(capacity - 1));
    std::memcpy(buffer, shown.data(), copied);
    buffer[copied] = '\0';
  }
  return static_cast<int>(shown.size());
}

int PlatformTestWindowCheckMark(HWND window) {
  auto state = Headless();
  if (!state)
    return -1;
  std::lock_guard lock(state->mutex);
  auto it = state->pictures.find(window);
  return it == state->pictures.end() ? -1 : it->second.checkMark;
}

int PlatformTestWindowPaintCount(HWND window) {
  auto state = Headless();
  if (!state)
    return 0;
  std::lock_guard lock(state->mutex);
  auto it = state->pictures.find(window);
  return it == state->pictures.end() ? 0 : it->second.paints;
}

BOOL PlatformTestNativeWindow(HWND window, PlatformNativeWindow* out) {
  auto state = Headless();
  if (!state || !out)
    return FALSE;
  std::lock_guard lock(state->mutex);
  auto it = state->natives.find(window);
  if (it == state->natives.end()) {
    *out = PlatformNativeWindow{};
    return FALSE;
  }
  *out = it->second;
  return TRUE;
}
