#include "runtime/date_time.h"

#include "kernel32/time.h"

#include <cmath>
#include <cstdio>

namespace {

// Days from 1970-01-01 to a civil date, for any year (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int32_t& year, int32_t& month, int32_t& day) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int32_t>(yoe + era * 400 + (month <= 2));
}

const int64_t kDayZero = DaysFromCivil(1899, 12, 30);

} // namespace

double DateTimeFromCalendar(const CalendarTime& t) {
  double day = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kDayZero);
  double time = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
  return day < 0 ? day - time : day + time;
}

double CurrentDateTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return DateTimeFromCalendar({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

CalendarTime CalendarFromDateTime(double d) {
  double whole = std::trunc(d);
  double fraction = d - whole;
  auto s = static_cast<int64_t>(std::floor(std::fabs(fraction) * 86400.0 + 0.5));
  CalendarTime t{};
  t.hour = static_cast<int32_t>(s / 3600);
  t.minute = static_cast<int32_t>(s % 3600 / 60);
  t.second = static_cast<int32_t>(s % 60);
  CivilFromDays(kDayZero + static_cast<int64_t>(whole), t.year, t.month, t.day);
  return t;
}

TextValue DateTimeText(double d) {
  CalendarTime t = CalendarFromDateTime(d);
  char text[96];
  int n = std::snprintf(text, sizeof text, "%d年%d月%d日", t.year, t.month, t.day);
  if (t.second != 0)
    n += std::snprintf(text + n, sizeof text - n, "%d时%d分%d秒", t.hour, t.minute, t.second);
  else if (t.minute != 0)
    n += std::snprintf(text + n, sizeof text - n, "%d时%d分", t.hour, t.minute);
  else if (t.hour != 0)
    n += std::snprintf(text + n, sizeof text - n, "%d时", t.hour);
  return TextValue::Copy(text, static_cast<size_t>(n));
}
