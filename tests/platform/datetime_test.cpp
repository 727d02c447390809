// The date-time value, its text, "YYYYMMDD" day arithmetic and the clock.
#include "platform/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace {

using platform::TDateTime;

TEST(DateTime, EncodeDateCountsDaysFromTheEpoch) {
  struct Case {
    int y, m, d;
    double value;
  };
  const std::vector<Case> cases = {
      {1899, 12, 30, 0},     {1899, 12, 31, 1},  {1900, 1, 1, 2},          {1899, 12, 29, -1},
      {2008, 3, 5, 39512},   {2000, 2, 29, 36585}, {1970, 1, 1, 25569},    {1, 1, 1, -693593},
      {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::EncodeDate(c.y, c.m, c.d), c.value) << c.y << "-" << c.m << "-" << c.d;
    int y, m, d;
    platform::DecodeDate(c.value, y, m, d);
    EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{c.y, c.m, c.d})) << c.value;
  }
}

TEST(DateTime, DecodeDateIsTheInverseOverTheWholeRange) {
  int py = 1, pm = 1, pd = 0;
  for (int day = -693593; day <= 2958465; ++day) {
    int y, m, d;
    platform::DecodeDate(day, y, m, d);
    // Each day follows the one before in the calendar.
    const bool monthEnded = pd == platform::DaysInMonth(py, pm);
    const bool next = (y == py && m == pm && d == pd + 1) || (y == py && m == pm + 1 && d == 1 && monthEnded) ||
                      (y == py + 1 && m == 1 && d == 1 && pm == 12 && pd == 31);
    ASSERT_TRUE(next) << day << ": " << y << "-" << m << "-" << d;
    ASSERT_EQ(platform::EncodeDate(y, m, d), day);
    py = y, pm = m, pd = d;
  }
  EXPECT_EQ((std::vector<int>{py, pm, pd}), (std::vector<int>{9999, 12, 31}));
}

TEST(DateTime, InvalidDatesAreRefused) {
  struct Case {
    int y, m, d;
  };
  const std::vector<Case> bad = {{2100, 2, 29}, {1900, 2, 29}, {2009, 2, 29}, {2008, 4, 31}, {2008, 13, 1},
                                 {2008, 0, 1},  {2008, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const Case& c : bad) {
    TDateTime t = 42;
    EXPECT_FALSE(platform::TryEncodeDate(c.y, c.m, c.d, t)) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(t, 42);
    EXPECT_THROW(platform::EncodeDate(c.y, c.m, c.d), platform::ConversionError);
  }
  EXPECT_TRUE(platform::IsLeapYear(2000));
  EXPECT_FALSE(platform::IsLeapYear(2100));
  EXPECT_TRUE(platform::IsLeapYear(2008));
}

TEST(DateTime, DecodeDateRefusesValuesOutsideTheCalendar) {
  int y, m, d;
  for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 2958466.0,
                   -693594.0, 1e300})
    EXPECT_THROW(platform::DecodeDate(v, y, m, d), platform::ConversionError) << v;
}

TEST(DateTime, TimeRoundTripsEverySecond) {
  const TDateTime day = platform::EncodeDate(2008, 3, 5);
  for (int s = 0; s < 86400; ++s) {
    const TDateTime t = platform::ComposeDateTime(day, platform::EncodeTime(s / 3600, s / 60 % 60, s % 60, 0));
    int h, n, sec, ms, y, m, d;
    platform::DecodeTime(t, h, n, sec, ms);
    ASSERT_EQ(h * 3600 + n * 60 + sec, s);
    ASSERT_EQ(ms, 0);
    platform::DecodeDate(t, y, m, d);
    ASSERT_EQ(d, 5);
  }
}

TEST(DateTime, EncodeTimeRefusesInvalidParts) {
  struct Case {
    int h, n, s, ms;
  };
  for (const Case& c : std::vector<Case>{{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}}) {
    TDateTime t;
    EXPECT_FALSE(platform::TryEncodeTime(c.h, c.n, c.s, c.ms, t));
    EXPECT_THROW(platform::EncodeTime(c.h, c.n, c.s, c.ms), platform::ConversionError);
  }
  EXPECT_DOUBLE_EQ(platform::EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(platform::EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, JustBeforeMidnightReadsAsTheNextDay) {
  const TDateTime v = platform::EncodeDate(2008, 12, 31) + 0.9999999999;
  int y, m, d, h, n, s, ms;
  platform::DecodeDate(v, y, m, d);
  platform::DecodeTime(v, h, n, s, ms);
  EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}), (std::vector<int>{2009, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(platform::DateTimeToText(v), "01-01-2009 00:00:00");
}

TEST(DateTime, DaysBeforeTheEpochCountTheTimeForward) {
  // -1.25 is 29 December 1899, 06:00.
  EXPECT_EQ(platform::ComposeDateTime(-1, 0.25), -1.25);
  EXPECT_EQ(platform::ComposeDateTime(2, 0.25), 2.25);
  int y, m, d, h, n, s, ms;
  platform::DecodeDate(-1.25, y, m, d);
  platform::DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ((std::vector<int>{y, m, d, h, n}), (std::vector<int>{1899, 12, 29, 6, 0}));
  EXPECT_EQ(platform::DateTimeToText(-1.75), "29-12-1899 18:00:00");
}

TEST(DateTime, DateTimeToTextHasOneFixedFormat) {
  struct Case {
    int y, mo, d, h, mi, s, ms;
    std::string text;
  };
  const std::vector<Case> cases = {
      {2008, 3, 5, 14, 2, 33, 0, "05-03-2008 14:02:33"},
      {2008, 12, 31, 9, 5, 7, 0, "31-12-2008 09:05:07"},
      {2008, 3, 5, 0, 0, 0, 0, "05-03-2008 00:00:00"},
      {2008, 3, 5, 23, 59, 59, 999, "05-03-2008 23:59:59"},  // milliseconds are not shown
      {999, 1, 2, 1, 2, 3, 0, "02-01-0999 01:02:03"},
  };
  for (const Case& c : cases) {
    const TDateTime v =
        platform::ComposeDateTime(platform::EncodeDate(c.y, c.mo, c.d), platform::EncodeTime(c.h, c.mi, c.s, c.ms));
    EXPECT_EQ(platform::DateTimeToText(v), c.text);
  }
}

TEST(YmdArithmetic, AddDaysAndDayBefore) {
  struct Case {
    std::string ymd;
    int days;
    std::string result;
  };
  const std::vector<Case> cases = {
      {"20080228", 1, "20080229"},  {"20080229", 1, "20080301"},  {"21000228", 1, "21000301"},
      {"20081231", 1, "20090101"},  {"20080301", -1, "20080229"}, {"20080115", 0, "20080115"},
      {"20080101", 366, "20090101"}, {"20090101", -366, "20080101"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::YmdAddDays(c.ymd, c.days), c.result) << c.ymd << " + " << c.days;
  EXPECT_EQ(platform::YmdDayBefore("20090101"), "20081231");
  EXPECT_EQ(platform::YmdDayBefore("20000301"), "20000229");
  EXPECT_EQ(platform::YmdDaysBetween("20080101", "20090101"), 366);
  EXPECT_EQ(platform::YmdDaysBetween("20090101", "20080101"), -366);
  EXPECT_EQ(platform::YmdDaysBetween("20080305", "20080305"), 0);
}

TEST(YmdArithmetic, RefusesTextsThatAreNoDate) {
  for (const char* text : {"2008022", "200802281", "20080230", "abcdefgh", "", "2008-2-1"}) {
    EXPECT_THROW(platform::YmdAddDays(text, 1), platform::ConversionError) << text;
    EXPECT_THROW(platform::YmdDaysBetween(text, "20080101"), platform::ConversionError) << text;
  }
  EXPECT_THROW(platform::YmdAddDays("99991231", 1), platform::ConversionError);
}

TEST(Clock, FixedClockStandsStillAndRestores) {
  const TDateTime t1 = platform::ComposeDateTime(platform::EncodeDate(2008, 3, 5), platform::EncodeTime(14, 2, 33, 0));
  {
    platform::ScopedFixedClock clock(t1);
    EXPECT_EQ(platform::Now(), t1);
    EXPECT_EQ(platform::Date(), platform::EncodeDate(2008, 3, 5));
    EXPECT_EQ(platform::DateTimeToText(platform::Now()), "05-03-2008 14:02:33");
    {
      platform::ScopedFixedClock inner(t1 + 1);
      EXPECT_EQ(platform::Now(), t1 + 1);
      inner.Set(t1 + 2);
      EXPECT_EQ(platform::Now(), t1 + 2);
    }
    EXPECT_EQ(platform::Now(), t1);
  }
  // The machine's clock again: today's local date.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const TDateTime today = platform::EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  EXPECT_NEAR(platform::Now(), today + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0,
              5.0 / 86400);
}

TEST(Clock, SetClockTakesAFunction) {
  int calls = 0;
  platform::SetClock([&] {
    ++calls;
    return 39512.5;
  });
  EXPECT_EQ(platform::Now(), 39512.5);
  EXPECT_EQ(platform::Date(), 39512);
  EXPECT_EQ(calls, 2);
  platform::SetClock(nullptr);
  EXPECT_GT(platform::Now(), platform::EncodeDate(2020, 1, 1));
}

}  // namespace
