// Date-time values: doubles on the OLE Automation date scale. Day 0 is
// 1899-12-30 00:00, the integer part counts days, the fraction is the time of
// day. Dates before day 0 are negative with the time added to the magnitude.
// Calendar arithmetic is Gregorian throughout.
#pragma once

#include "runtime/text_value.h"

#include <cstdint>

struct CalendarTime {
  int32_t year, month, day, hour, minute, second;
};

// The local clock, whole seconds.
double CurrentDateTime();
double DateTimeFromCalendar(const CalendarTime& time);
CalendarTime CalendarFromDateTime(double dateTime);
// "2014年1月5日13时4分6秒"; trailing zero units are dropped ("2014年1月5日13时",
// and no time part at midnight), no field padded.
TextValue DateTimeText(double dateTime);
