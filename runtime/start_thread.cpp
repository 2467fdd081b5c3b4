#include "runtime/start_thread.h"

#include "kernel32/handle.h"
#include "kernel32/thread.h"

bool StartThread(ThreadEntry entry, void* parameter, HANDLE* handleVariable) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, entry, parameter, 0, &id);
  if (!thread)
    return false;
  if (handleVariable)
    *handleVariable = thread;
  else
    CloseHandle(thread);
  return true;
}
