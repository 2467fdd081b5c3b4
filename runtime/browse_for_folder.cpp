#include "runtime/browse_for_folder.h"

#include "runtime/dialog_component.h"
#include "runtime/scratch_buffer.h"
#include "runtime/service_entry.h"
#include "shell32/browse_for_folder.h"
#include "shell32/shell_malloc.h"
#include "user32/input.h"
#include "user32/window.h"

#include <cstring>

namespace {

constexpr size_t kPathBytes = 260;

// The window-state list holds records of two 32-bit words: first the active
// and the foreground window, then each disabled window with whether it was
// enabled. Window handles fit 32 bits.
struct StateRecord {
  uint32_t first;
  uint32_t second;
};

uint32_t Word(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }
HWND Handle(uint32_t word) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(word)); }

void Append(ScratchBuffer& states, uint32_t first, uint32_t second) {
  StateRecord record{first, second};
  states.Append(&record, sizeof record);
}

StateRecord RecordAt(const ScratchBuffer& states, size_t index) {
  StateRecord record;
  std::memcpy(&record, states.Data() + index * sizeof record, sizeof record);
  return record;
}

// The program's top-level windows as the service table reports them
// (numbered from 0), each disabled after its state is recorded.
void DisableProgramWindows(ScratchBuffer& states) {
  ServiceEntryFunction entry = DialogServiceEntry();
  if (!entry)
    return;
  intptr_t count = entry(ServiceCode::ProgramWindowCount, 0, 0);
  for (intptr_t i = 0; i < count; i++) {
    auto window = reinterpret_cast<HWND>(entry(ServiceCode::ProgramWindow, i, 0));
    if (!IsWindow(window) || GetParent(window))
      continue;
    Append(states, Word(window), IsWindowEnabled(window) ? 1 : 0);
    EnableWindow(window, FALSE);
  }
}

void Restore(const ScratchBuffer& states) {
  size_t records = states.Size() / sizeof(StateRecord);
  for (size_t i = 1; i < records; i++) {
    StateRecord record = RecordAt(states, i);
    if (IsWindow(Handle(record.first)))
      EnableWindow(Handle(record.first), record.second ? TRUE : FALSE);
  }
  StateRecord first = RecordAt(states, 0);
  if (IsWindow(Handle(first.second)))
    SetForegroundWindow(Handle(first.second));
  if (IsWindow(Handle(first.first)))
    SetActiveWindow(Handle(first.first));
}

TextValue PathOf(LPITEMIDLIST chosen) {
  char path[kPathBytes] = {};
  if (!SHGetPathFromIDListA(chosen, path) || !path[0])
    return TextValue();
  return TextValue::Copy(path, std::strlen(path));
}

void FreeList(LPITEMIDLIST chosen) {
  IMalloc* allocator = nullptr;
  if (SHGetMalloc(&allocator) != S_OK)
    return;
  allocator->Free(chosen);
  allocator->Release();
}

} // namespace

TextValue BrowseForFolder(TextRef title, std::optional<bool> includeFiles) {
  ScratchBuffer states(DialogScratchPool());
  HWND active = GetActiveWindow();
  if (!IsWindow(active))
    active = nullptr;
  Append(states, Word(active), Word(GetForegroundWindow()));
  DisableProgramWindows(states);

  char displayName[kPathBytes] = {};
  UINT flags = includeFiles.value_or(false) ? BIF_BROWSEINCLUDEFILES | BIF_EDITBOX : BIF_EDITBOX;
  BROWSEINFOA info{active, nullptr, displayName, title.Bytes(), flags, nullptr, 0, 0};
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);

  Restore(states);
  states.Release();
  if (!chosen)
    return TextValue();
  TextValue path = PathOf(chosen);
  FreeList(chosen);
  return path;
}
