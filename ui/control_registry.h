// The toolkit's global tables: the registry that gives every created window
// its ControlId and holds its event handlers, and the dispatcher's state.
//
// Entries are never removed or reused: destroying a window leaves its entry.
// The tables change only on the UI thread.
#pragma once

#include "runtime/text_value.h"
#include "runtime/value_array.h"
#include "user32/window.h"

#include <cstdint>

// An event handler: no parameters, its result ignored; null means none.
using Handler = void (*)();

// Runs the handler, if there is one.
inline void InvokeHandler(Handler handler) {
  if (handler)
    handler();
}

struct EventEntry {
  int32_t Id; // the entry's own index for child controls, 0 for top-level windows
  HWND WindowHandle;
  Handler LeftDown;
  Handler LeftUp;
  Handler DoubleClick;
  Handler RightDown;
  Handler RightUp;
  Handler SpareA;
  Handler GotFocus;
  Handler LostFocus;
  Handler Key;
  Handler SpareB;
  Handler Command400;
  Handler Sized;
  Handler Created;
  Handler Destroyed;
  Handler Command9;
  Handler SelectionChanged;
  Handler Clicked;
  Handler Command300;
  const char* TipText;
};

// A growable array of entries, indexed from 1.
class EventRegistry {
public:
  int32_t Count() const { return entries_.Count(); }
  // The entry at the index, or null outside 1 to Count.
  EventEntry* Entry(int32_t index) const;
  // The first entry, from index 1 up, whose window handle is the one given.
  EventEntry* FindWindow(HWND window) const;
  // Appends a zeroed entry; returns its index.
  int32_t Grow();
  // Stores the handler in the slot of entry `index`, if there is one.
  void SetHandler(int32_t index, Handler EventEntry::*slot, Handler handler);
  void FreeAll();

private:
  ValueArray<void*> entries_;
};

struct SubclassEntry {
  HWND window;
  WNDPROC previous;
};

extern EventRegistry ControlRegistry;
extern EventRegistry MenuRegistry;
extern HINSTANCE InstanceHandle;
extern HWND FirstWindowHandle;
extern TextValue WindowClassName;
extern ValueArray<void*> AutoSizeList;  // window handles
extern ValueArray<void*> SubclassTable; // SubclassEntry records

// Frees every entry and record of the tables and WindowClassName; the
// tables are empty again.
void FreeToolkitTables();
