#include "x11display/window_hints.h"

#include "user32/window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>

namespace x11display {
namespace {

// _MOTIF_WM_HINTS, as window managers read it: five longs.
constexpr long kMotifFunctions = 1;
constexpr long kMotifDecorations = 2;
constexpr long kFuncResize = 2;
constexpr long kFuncMove = 4;
constexpr long kFuncMinimize = 8;
constexpr long kFuncMaximize = 16;
constexpr long kFuncClose = 32;
constexpr long kDecorBorder = 2;
constexpr long kDecorResizeHandle = 4;
constexpr long kDecorTitle = 8;
constexpr long kDecorMenu = 16;
constexpr long kDecorMinimize = 32;
constexpr long kDecorMaximize = 64;

constexpr int kSmallIcon = 16;

Atom Intern(Display* display, const char* name) { return XInternAtom(display, name, False); }

void Append(std::vector<long>& to, const std::vector<uint32_t>& argb, int width, int height) {
  to.push_back(width);
  to.push_back(height);
  for (uint32_t pixel : argb)
    to.push_back(static_cast<long>(pixel));
}

} // namespace

Atoms::Atoms(Display* display)
    : wmProtocols(Intern(display, "WM_PROTOCOLS")), wmDeleteWindow(Intern(display, "WM_DELETE_WINDOW")),
      wmState(Intern(display, "WM_STATE")), wmChangeState(Intern(display, "WM_CHANGE_STATE")),
      netWmName(Intern(display, "_NET_WM_NAME")), netWmIcon(Intern(display, "_NET_WM_ICON")),
      netWmPid(Intern(display, "_NET_WM_PID")), netWmPing(Intern(display, "_NET_WM_PING")),
      netWmState(Intern(display, "_NET_WM_STATE")), netWmStateModal(Intern(display, "_NET_WM_STATE_MODAL")),
      netWmStateAbove(Intern(display, "_NET_WM_STATE_ABOVE")),
      netWmStateMaxVert(Intern(display, "_NET_WM_STATE_MAXIMIZED_VERT")),
      netWmStateMaxHorz(Intern(display, "_NET_WM_STATE_MAXIMIZED_HORZ")),
      netWmStateHidden(Intern(display, "_NET_WM_STATE_HIDDEN")),
      netWmWindowType(Intern(display, "_NET_WM_WINDOW_TYPE")),
      netWmWindowTypeNormal(Intern(display, "_NET_WM_WINDOW_TYPE_NORMAL")),
      netWmWindowTypeDialog(Intern(display, "_NET_WM_WINDOW_TYPE_DIALOG")),
      netActiveWindow(Intern(display, "_NET_ACTIVE_WINDOW")),
      netSupportingWmCheck(Intern(display, "_NET_SUPPORTING_WM_CHECK")),
      motifWmHints(Intern(display, "_MOTIF_WM_HINTS")), utf8String(Intern(display, "UTF8_STRING")) {}

void SetSizeHints(Display* display, Window window, const WindowLook& look) {
  XSizeHints* hints = XAllocSizeHints();
  if (!hints)
    return;
  hints->flags = PPosition | USPosition | PSize | PWinGravity;
  hints->x = look.x;
  hints->y = look.y;
  hints->width = look.width;
  hints->height = look.height;
  hints->win_gravity = StaticGravity;
  if (!(look.style & WS_THICKFRAME)) {
    hints->flags |= PMinSize | PMaxSize;
    hints->min_width = hints->max_width = look.width;
    hints->min_height = hints->max_height = look.height;
  }
  XSetWMNormalHints(display, window, hints);
  XFree(hints);
}

void SetMotifHints(Display* display, Window window, const Atoms& atoms, DWORD style) {
  long functions = kFuncMove | kFuncClose;
  long decorations = 0;
  if ((style & WS_CAPTION) == WS_CAPTION)
    decorations |= kDecorBorder | kDecorTitle | kDecorMenu;
  else if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME))
    decorations |= kDecorBorder;
  if (style & WS_MINIMIZEBOX) {
    functions |= kFuncMinimize;
    decorations |= kDecorMinimize;
  }
  if (style & WS_MAXIMIZEBOX) {
    functions |= kFuncMaximize;
    decorations |= kDecorMaximize;
  }
  if (style & WS_THICKFRAME) {
    functions |= kFuncResize;
    decorations |= kDecorResizeHandle;
  }
  long hints[5] = {kMotifFunctions | kMotifDecorations, functions, decorations, 0, 0};
  XChangeProperty(display, window, atoms.motifWmHints, atoms.motifWmHints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
}

void SetTitle(Display* display, Window window, const Atoms& atoms, const std::string& utf8) {
  XChangeProperty(display, window, atoms.netWmName, atoms.utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.c_str()), static_cast<int>(utf8.size()));
  char* list[] = {const_cast<char*>(utf8.c_str())};
  XTextProperty text{};
  if (Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &text) >= Success) {
    XSetWMName(display, window, &text);
    XSetWMIconName(display, window, &text);
    XFree(text.value);
  } else {
    XStoreName(display, window, utf8.c_str());
  }
}

std::vector<uint32_t> ScaleIcon(const uint32_t* argb, int width, int height, int size) {
  std::vector<uint32_t> out(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; y++) {
    for (int x = 0; x < size; x++) {
      int x0 = x * width / size, x1 = std::max(x0 + 1, (x + 1) * width / size);
      int y0 = y * height / size, y1 = std::max(y0 + 1, (y + 1) * height / size);
      uint64_t a = 0, r = 0, g = 0, b = 0, count = 0;
      for (int sy = y0; sy < y1; sy++) {
        for (int sx = x0; sx < x1; sx++) {
          uint32_t p = argb[static_cast<size_t>(sy) * width + sx];
          uint32_t alpha = p >> 24;
          a += alpha;
          r += ((p >> 16) & 0xFF) * alpha;
          g += ((p >> 8) & 0xFF) * alpha;
          b += (p & 0xFF) * alpha;
          count++;
        }
      }
      uint32_t pixel = 0;
      if (a > 0)
        pixel = static_cast<uint32_t>(a / count) << 24 | static_cast<uint32_t>(r / a) << 16 |
                static_cast<uint32_t>(g / a) << 8 | static_cast<uint32_t>(b / a);
      out[static_cast<size_t>(y) * size + x] = pixel;
    }
  }
  return out;
}

void SetIcon(Display* display, Window window, const Atoms& atoms, const uint32_t* argb, int width,
             int height) {
  std::vector<long> data;
  Append(data, std::vector<uint32_t>(argb, argb + static_cast<size_t>(width) * height), width, height);
  if (width != kSmallIcon || height != kSmallIcon)
    Append(data, ScaleIcon(argb, width, height, kSmallIcon), kSmallIcon, kSmallIcon);
  XChangeProperty(display, window, atoms.netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void SetStartProperties(Display* display, Window window, const Atoms& atoms, const WindowLook& look,
                        Window owner) {
  Atom protocols[] = {atoms.wmDeleteWindow, atoms.netWmPing};
  XSetWMProtocols(display, window, protocols, 2);

  XClassHint* classHint = XAllocClassHint();
  if (classHint) {
    classHint->res_name = const_cast<char*>("cantiva");
    classHint->res_class = const_cast<char*>("Cantiva");
    XSetClassHint(display, window, classHint);
    XFree(classHint);
  }
  XWMHints* wmHints = XAllocWMHints();
  if (wmHints) {
    wmHints->flags = InputHint | StateHint;
    wmHints->input = True;
    wmHints->initial_state = NormalState;
    XSetWMHints(display, window, wmHints);
    XFree(wmHints);
  }
  long pid = getpid();
  XChangeProperty(display, window, atoms.netWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);

  Atom type = look.owned ? atoms.netWmWindowTypeDialog : atoms.netWmWindowTypeNormal;
  XChangeProperty(display, window, atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);

  std::vector<Atom> states;
  if (look.owned && owner)
    states.push_back(atoms.netWmStateModal);
  if (look.topmost)
    states.push_back(atoms.netWmStateAbove);
  XChangeProperty(display, window, atoms.netWmState, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(states.data()), static_cast<int>(states.size()));
  if (owner)
    XSetTransientForHint(display, window, owner);
}

void ChangeState(Display* display, Window window, const Atoms& atoms, Atom state, bool on) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = atoms.netWmState;
  event.xclient.format = 32;
  event.xclient.data.l[0] = on ? 1 : 0;
  event.xclient.data.l[1] = static_cast<long>(state);
  event.xclient.data.l[3] = 1;
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
}

} // namespace x11display
