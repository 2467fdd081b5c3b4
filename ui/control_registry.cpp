#include "ui/control_registry.h"

#include "runtime/block.h"

EventRegistry ControlRegistry;
EventRegistry MenuRegistry;
HINSTANCE InstanceHandle = nullptr;
HWND FirstWindowHandle = nullptr;
TextValue WindowClassName;
ValueArray<void*> AutoSizeList;
ValueArray<void*> SubclassTable;

EventEntry* EventRegistry::Entry(int32_t index) const {
  if (index < 1 || index > Count())
    return nullptr;
  return static_cast<EventEntry*>(entries_.At(index));
}

EventEntry* EventRegistry::FindWindow(HWND window) const {
  for (int32_t i = 1; i <= Count(); i++) {
    auto* entry = static_cast<EventEntry*>(entries_.At(i));
    if (entry->WindowHandle == window)
      return entry;
  }
  return nullptr;
}

int32_t EventRegistry::Grow() {
  // A new array one longer takes the existing entries, then the new one.
  int32_t count = Count();
  ValueArray<void*> grown = ValueArray<void*>::WithCount(count + 1);
  for (int32_t i = 1; i <= count; i++)
    grown.Set(i, entries_.At(i));
  grown.Set(count + 1, AllocBlock(sizeof(EventEntry)));
  entries_ = std::move(grown);
  return count + 1;
}

void EventRegistry::SetHandler(int32_t index, Handler EventEntry::*slot, Handler handler) {
  if (EventEntry* entry = Entry(index))
    entry->*slot = handler;
}

void EventRegistry::FreeAll() {
  for (int32_t i = 1; i <= Count(); i++)
    FreeBlock(entries_.At(i));
  entries_.Clear();
}

void FreeToolkitTables() {
  ControlRegistry.FreeAll();
  MenuRegistry.FreeAll();
  for (int32_t i = 1; i <= SubclassTable.Count(); i++)
    FreeBlock(SubclassTable.At(i));
  SubclassTable.Clear();
  AutoSizeList.Clear();
  WindowClassName = TextValue();
}
