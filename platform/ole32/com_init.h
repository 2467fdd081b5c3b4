// Initialising the component runtime for a thread.
#pragma once

#include "win/types.h"

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

// Counts per thread: the first call gives S_OK, further ones S_FALSE; each
// call is undone by one CoUninitialize.
PLATFORM_API HRESULT CoInitialize(LPVOID reserved);
PLATFORM_API void CoUninitialize();
