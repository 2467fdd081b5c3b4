#include "x11display/key_map.h"

#include "user32/input.h"

#include <X11/keysym.h>

namespace x11display {
namespace {

struct KeyPair {
  unsigned long keysym;
  UINT vk;
};

constexpr KeyPair kKeys[] = {
    {XK_BackSpace, VK_BACK},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},
    {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN},
    {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE},
    {XK_Pause, VK_PAUSE},
    {XK_Caps_Lock, VK_CAPITAL},
    {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},
    {XK_End, VK_END},
    {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},
    {XK_KP_Delete, VK_DELETE},
    {XK_KP_Insert, VK_INSERT},
    {XK_KP_Home, VK_HOME},
    {XK_KP_End, VK_END},
    {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},
    {XK_KP_Left, VK_LEFT},
    {XK_KP_Up, VK_UP},
    {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},
    {XK_KP_Multiply, VK_MULTIPLY},
    {XK_KP_Add, VK_ADD},
    {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE},
    {XK_Shift_L, VK_LSHIFT},
    {XK_Shift_R, VK_RSHIFT},
    {XK_Control_L, VK_LCONTROL},
    {XK_Control_R, VK_RCONTROL},
    {XK_Alt_L, VK_LMENU},
    {XK_Alt_R, VK_RMENU},
    {XK_Meta_L, VK_LMENU},
    {XK_Meta_R, VK_RMENU},
    {XK_semicolon, VK_OEM_1},
    {XK_equal, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},
    {XK_grave, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},
    {XK_bracketright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7},
};

} // namespace
} // namespace x11display

using x11display::KeyPair;
using x11display::kKeys;

UINT PlatformX11VirtualKey(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z)
    return static_cast<UINT>('A' + (keysym - XK_a));
  if (keysym >= XK_A && keysym <= XK_Z)
    return static_cast<UINT>(keysym);
  if (keysym >= XK_0 && keysym <= XK_9)
    return static_cast<UINT>(keysym);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
    return static_cast<UINT>(VK_NUMPAD0 + (keysym - XK_KP_0));
  if (keysym >= XK_F1 && keysym <= XK_F12)
    return static_cast<UINT>(VK_F1 + (keysym - XK_F1));
  for (const KeyPair& pair : kKeys) {
    if (pair.keysym == keysym)
      return pair.vk;
  }
  return 0;
}
