#include "kernel32/time.h"
#include "runtime/date_time.h"
#include "runtime/to_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(double d) { return ToText(CommandArg::DateTime(d)).Bytes(); }

TEST(DateTimeText, DropsTrailingZeroUnitsAndPadsNothing) {
  struct Case {
    CalendarTime time;
    const char* expected;
  } cases[] = {
      {{2014, 1, 5, 13, 4, 6}, "2014年1月5日13时4分6秒"},
      {{2014, 1, 5, 13, 0, 0}, "2014年1月5日13时"},
      {{2014, 1, 5, 13, 0, 7}, "2014年1月5日13时0分7秒"},
      {{2014, 1, 5, 13, 30, 0}, "2014年1月5日13时30分"},
      {{2014, 1, 5, 0, 0, 0}, "2014年1月5日"},
      {{2013, 5, 1, 9, 30, 15}, "2013年5月1日9时30分15秒"},
      {{2000, 2, 29, 0, 0, 1}, "2000年2月29日0时0分1秒"},
      {{1900, 3, 1, 0, 0, 0}, "1900年3月1日"},
      {{1899, 12, 30, 12, 0, 0}, "1899年12月30日12时"},
      {{1899, 12, 29, 6, 0, 0}, "1899年12月29日6时"},
      {{1898, 12, 31, 0, 0, 0}, "1898年12月31日"},
      {{1600, 2, 29, 23, 59, 59}, "1600年2月29日23时59分59秒"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Text(DateTimeFromCalendar(c.time)), c.expected);
}

TEST(DateTimeValue, UsesTheAutomationDateScale) {
  struct Case {
    CalendarTime time;
    double value;
  } cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1899, 12, 31, 0, 0, 0}, 1.0},
      {{1900, 1, 1, 0, 0, 0}, 2.0},
      {{1900, 3, 1, 0, 0, 0}, 61.0},
      {{1900, 1, 1, 12, 0, 0}, 2.5},
      {{1899, 12, 29, 0, 0, 0}, -1.0},
      {{1899, 12, 29, 12, 0, 0}, -1.5},
      {{1898, 12, 31, 0, 0, 0}, -364.0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(DateTimeFromCalendar(c.time), c.value) << c.time.year << "-" << c.time.month;
  EXPECT_EQ(Text(-364.0), "1898年12月31日");
  EXPECT_EQ(Text(-1.0), "1899年12月29日");
}

TEST(CurrentDateTime, ReadsTheLocalClockToTheSecond) {
  SYSTEMTIME pinned{2013, 5, 3, 1, 9, 30, 15, 999};
  PlatformTestSetLocalTime(&pinned);
  double now = CurrentDateTime();
  PlatformTestSetLocalTime(nullptr);
  EXPECT_EQ(Text(now), "2013年5月1日9时30分15秒");
}

TEST(DateTimeText, RoundsTheTimeToTheNearestSecond) {
  double almost = DateTimeFromCalendar({2014, 1, 5, 13, 4, 6}) + 0.4 / 86400.0;
  EXPECT_EQ(Text(almost), "2014年1月5日13时4分6秒");
}

} // namespace
