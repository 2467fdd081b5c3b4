#include "ole32/com_init.h"

namespace {
thread_local int init_count = 0;
}

HRESULT CoInitialize(LPVOID) { return init_count++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (init_count > 0)
    init_count--;
}

bool ComInitializedOnThisThread() { return init_count > 0; }
