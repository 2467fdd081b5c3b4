// Initialising the component runtime for a thread.
//
// The runtime counts per thread: the first CoInitialize gives S_OK, further
// ones S_FALSE; each call is undone by one CoUninitialize. Objects can only
// be created while the count of the creating thread is above 0.
#pragma once

#include "ole32/hresult.h"

PLATFORM_API HRESULT CoInitialize(LPVOID reserved);
PLATFORM_API void CoUninitialize();

// Inside ole32: whether the calling thread has initialised the runtime.
bool ComInitializedOnThisThread();
