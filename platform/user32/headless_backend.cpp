#include "user32/headless_backend.h"

#include "user32/gbk.h"
#include "user32/paint.h"
#include "user32/rect.h"

#include <cstdlib>
#include <cstring>

namespace user32 {
namespace {

LONG CellHeight(const PlatformFontSpec& font) { return font.height == 0 ? 16 : std::labs(font.height); }

UINT AlignFormat(TextAlign align) {
  return align == TextAlign::Center ? DT_CENTER : align == TextAlign::Right ? DT_RIGHT : DT_LEFT;
}

void CopyText(char* to, size_t capacity, const char* from, size_t length) {
  size_t copied = length < capacity - 1 ? length : capacity - 1;
  std::memcpy(to, from, copied);
  to[copied] = '\0';
}

class HeadlessPainter : public Painter {
public:
  HeadlessPainter(std::shared_ptr<HeadlessState> state, const PaintTarget& target)
      : state_(std::move(state)), target_(target) {
    if (!target_.window || !target_.beginsPaint)
      return;
    std::lock_guard lock(state_->mutex);
    HeadlessState::Picture& picture = state_->pictures[target_.window];
    picture.runs.clear();
    picture.checkMark = -1;
    picture.paints++;
  }

  void FillRect(const RECT&, COLORREF) override {}
  void DrawEdge(const RECT&, UINT, UINT) override {}
  void DrawFocusRect(const RECT&) override {}
  void DrawBitmap(const RECT&, const uint32_t*, int, int) override {}

  void DrawTextLine(const RECT& rect, const char* text, int length, const PlatformFontSpec&, COLORREF color,
                    TextAlign align) override {
    if (!Shows(rect) || length <= 0)
      return;
    PlatformTextRun run{};
    run.rect = rect;
    run.align = AlignFormat(align);
    run.color = color;
    CopyText(run.text, sizeof run.text, text, static_cast<size_t>(length));
    std::lock_guard lock(state_->mutex);
    state_->pictures[target_.window].runs.push_back(run);
  }

  void DrawCheckBox(const RECT& rect, int state, bool, bool) override {
    if (!Shows(rect))
      return;
    std::lock_guard lock(state_->mutex);
    state_->pictures[target_.window].checkMark = state;
  }

  SIZE MeasureText(const char* text, int length, const PlatformFontSpec& font) override {
    return HeadlessTextExtent(text, length, font);
  }

private:
  bool Shows(const RECT& rect) const {
    RECT visible{};
    return target_.window && IntersectRect(&visible, &rect, &target_.clip);
  }

  std::shared_ptr<HeadlessState> state_;
  PaintTarget target_;
};

} // namespace

SIZE HeadlessTextExtent(const char* text, int length, const PlatformFontSpec& font) {
  LONG cell = CellHeight(font);
  LONG narrow = (cell + 1) / 2;
  std::string_view bytes(text ? text : "", text && length > 0 ? static_cast<size_t>(length) : 0);
  LONG width = 0;
  for (size_t i = 0; i < bytes.size(); i += CharLength(bytes, i))
    width += CharLength(bytes, i) == 2 ? cell : narrow;
  return {width, cell};
}

SIZE HeadlessDisplay::ScreenSize() {
  std::lock_guard lock(state_->mutex);
  return state_->screen;
}

void HeadlessDisplay::CreateWindow(const DisplayWindow& window) {
  PlatformNativeWindow native{};
  native.exists = TRUE;
  native.outer = window.outer;
  native.client = window.client;
  native.topmost = window.topmost ? TRUE : FALSE;
  CopyText(native.title, sizeof native.title, window.title ? window.title : "",
           window.title ? std::strlen(window.title) : 0);
  std::lock_guard lock(state_->mutex);
  state_->natives[window.window] = native;
}

void HeadlessDisplay::DestroyWindow(HWND window) {
  std::lock_guard lock(state_->mutex);
  state_->natives.erase(window);
  state_->pictures.erase(window);
}

void HeadlessDisplay::ShowWindow(HWND window, DisplayShow show) {
  std::lock_guard lock(state_->mutex);
  auto it = state_->natives.find(window);
  if (it == state_->natives.end())
    return;
  it->second.visible = show != DisplayShow::Hidden;
  it->second.minimized = show == DisplayShow::Minimized;
  it->second.maximized = show == DisplayShow::Maximized;
}

void HeadlessDisplay::MoveWindow(HWND window, const RECT& outer, const RECT& client) {
  std::lock_guard lock(state_->mutex);
  auto it = state_->natives.find(window);
  if (it == state_->natives.end())
    return;
  it->second.outer = outer;
  it->second.client = client;
}

void HeadlessDisplay::SetTitle(HWND window, const char* title) {
  std::lock_guard lock(state_->mutex);
  auto it = state_->natives.find(window);
  if (it != state_->natives.end())
    CopyText(it->second.title, sizeof it->second.title, title, std::strlen(title));
}

void HeadlessDisplay::SetTopmost(HWND window, bool topmost) {
  std::lock_guard lock(state_->mutex);
  auto it = state_->natives.find(window);
  if (it != state_->natives.end())
    it->second.topmost = topmost ? TRUE : FALSE;
}

std::unique_ptr<Painter> HeadlessDisplay::BeginPaint(const PaintTarget& target) {
  return std::make_unique<HeadlessPainter>(state_, target);
}

std::shared_ptr<DisplayBackend> MakeHeadlessDisplay() { return std::make_shared<HeadlessDisplay>(); }

} // namespace user32
