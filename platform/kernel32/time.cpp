#include "kernel32/time.h"

#include <atomic>
#include <ctime>
#include <mutex>

namespace {

std::mutex pinned_mutex;
bool pinned = false;
SYSTEMTIME pinned_time{};

} // namespace

void GetLocalTime(SYSTEMTIME* out) {
  if (!out)
    return;
  {
    std::lock_guard lock(pinned_mutex);
    if (pinned) {
      *out = pinned_time;
      return;
    }
  }
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  out->wYear = static_cast<WORD>(local.tm_year + 1900);
  out->wMonth = static_cast<WORD>(local.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  out->wDay = static_cast<WORD>(local.tm_mday);
  out->wHour = static_cast<WORD>(local.tm_hour);
  out->wMinute = static_cast<WORD>(local.tm_min);
  out->wSecond = static_cast<WORD>(local.tm_sec);
  out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

void PlatformTestSetLocalTime(const SYSTEMTIME* time) {
  std::lock_guard lock(pinned_mutex);
  pinned = time != nullptr;
  if (time)
    pinned_time = *time;
}
