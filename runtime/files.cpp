#include "runtime/files.h"

#include "kernel32/file.h"
#include "kernel32/find_file.h"
#include "kernel32/handle.h"

namespace {

bool IsOpen(const FindState& state) { return state.handle && state.handle != INVALID_HANDLE_VALUE; }

bool Matches(const WIN32_FIND_DATAA& entry, std::optional<uint32_t> mask) {
  if (!mask)
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return (entry.dwFileAttributes & *mask) != 0;
}

TextValue NameOf(const WIN32_FIND_DATAA& entry) { return TextValue::Copy(TextRef(entry.cFileName)); }

} // namespace

TextValue FindFile(TextRef pattern, std::optional<uint32_t> attributeMask, FindState& state) {
  WIN32_FIND_DATAA entry{};
  if (!pattern.IsEmpty()) {
    CloseFind(state);
    state.handle = FindFirstFileA(pattern.Bytes(), &entry);
    if (!IsOpen(state))
      return {};
    if (Matches(entry, attributeMask))
      return NameOf(entry);
  } else if (!IsOpen(state)) {
    return {};
  }
  while (FindNextFileA(state.handle, &entry)) {
    if (Matches(entry, attributeMask))
      return NameOf(entry);
  }
  return {};
}

void CloseFind(FindState& state) {
  if (IsOpen(state))
    FindClose(state.handle);
  state.handle = nullptr;
}

bool WriteToFile(TextRef path, std::initializer_list<ByteRef> parts) {
  HANDLE file = CreateFileA(path.Bytes(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  bool ok = true;
  for (ByteRef part : parts) {
    if (part.IsEmpty())
      continue;
    DWORD written = 0;
    DWORD length = static_cast<DWORD>(part.Length());
    if (!WriteFile(file, part.Data(), length, &written, nullptr) || written != length) {
      ok = false;
      break;
    }
  }
  CloseHandle(file);
  return ok;
}
