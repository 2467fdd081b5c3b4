// The local clock.
#pragma once

#include "win/types.h"

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

PLATFORM_API void GetLocalTime(SYSTEMTIME* time);

// Tests pin the clock: while a time is set, GetLocalTime reports it.
// Null returns to the real clock.
PLATFORM_API void PlatformTestSetLocalTime(const SYSTEMTIME* time);
