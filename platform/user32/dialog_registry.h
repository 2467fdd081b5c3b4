// What the window system keeps of each dialog (internal to libuser32): its
// procedure, the control that holds its focus while it is inactive, and the
// state of its modal loop.
//
// One record per live dialog, made at WM_NCCREATE and dropped at
// WM_NCDESTROY; handles are never reused, so a stale look finds nothing.
// The registry has its own lock and never calls out while holding it.
#pragma once

#include "user32/dialog.h"

#include <optional>

namespace user32 {

struct DialogRecord {
  DLGPROC proc = nullptr;
  HWND focus = nullptr; // the control to give the focus back to
  bool looping = false; // its modal loop runs
  bool ended = false;   // EndDialog was called
  INT_PTR result = 0;
};

class DialogRegistry {
public:
  static DialogRegistry& Get();

  void Add(HWND dialog, DLGPROC proc);
  void Remove(HWND dialog);
  std::optional<DialogRecord> Find(HWND dialog) const;
  void SetFocusControl(HWND dialog, HWND control);
  void SetLooping(HWND dialog, bool looping);
  // False for a dialog that is not known.
  bool End(HWND dialog, INT_PTR result);
};

} // namespace user32
