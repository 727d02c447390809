#include "platform/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "platform/errors.h"

namespace platform {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// Day numbers of 1 January 0001 and 31 December 9999.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;

// Days since 1 January 1970 of a Gregorian date (the proleptic calendar).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// 1 January 1970 is day 25569.
constexpr int64_t kUnixEpochDay = 25569;

// Splits a value into its day number and the millisecond of that day.
void Split(TDateTime value, int64_t& dayNumber, int64_t& msOfDay) {
  if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(kLastDay) + 1.0)
    throw ConversionError("Invalid date-time value");
  double whole = std::trunc(value);
  int64_t dayNum = static_cast<int64_t>(whole);
  int64_t ms = static_cast<int64_t>(std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay)));
  if (ms >= kMsPerDay) {  // rounds up to midnight: the next calendar day
    ms = 0;
    ++dayNum;
  }
  dayNumber = dayNum;
  msOfDay = ms;
}

TDateTime ParseYmdStrict(std::string_view ymd) {
  bool digits = ymd.size() == 8;
  for (char c : ymd) digits = digits && c >= '0' && c <= '9';
  TDateTime d = 0;
  if (digits) {
    auto num = [&](size_t at, size_t n) {
      int v = 0;
      for (size_t i = at; i < at + n; ++i) v = v * 10 + (ymd[i] - '0');
      return v;
    };
    if (TryEncodeDate(num(0, 4), num(4, 2), num(6, 2), d)) return d;
  }
  throw ConversionError("'" + std::string(ymd) + "' is not a valid date");
}

std::string Ymd(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
  return buf;
}

TDateTime SystemNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(now);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&secs, &local);
  return ComposeDateTime(EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                                    ms < 0 ? 0 : ms));
}

ClockFunction& Clock() {
  static ClockFunction clock;
  return clock;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return false;
  result = static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw ConversionError("Invalid argument to date encode");
  return d;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  int64_t dayNumber, ms;
  Split(value, dayNumber, ms);
  if (dayNumber < kFirstDay || dayNumber > kLastDay) throw ConversionError("Invalid date-time value");
  CivilFromDays(dayNumber - kUnixEpochDay, year, month, day);
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  const int64_t ms = ((static_cast<int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  result = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime t;
  if (!TryEncodeTime(hour, minute, second, millisecond, t))
    throw ConversionError("Invalid argument to time encode");
  return t;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  int64_t dayNumber, ms;
  Split(value, dayNumber, ms);
  millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  const double day = std::trunc(date);
  const double t = std::fabs(time - std::trunc(time));
  return day < 0 ? day - t : day + t;
}

std::string YmdAddDays(std::string_view ymd, int days) {
  return Ymd(ParseYmdStrict(ymd) + static_cast<double>(days));
}

std::string YmdDayBefore(std::string_view ymd) { return YmdAddDays(ymd, -1); }

int YmdDaysBetween(std::string_view from, std::string_view to) {
  return static_cast<int>(ParseYmdStrict(to) - ParseYmdStrict(from));
}

std::string DateTimeToText(TDateTime value) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(value, y, mo, d);
  DecodeTime(value, h, mi, s, ms);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d-%02d-%04d %02d:%02d:%02d", d, mo, y, h, mi, s);
  return buf;
}

TDateTime Now() {
  const ClockFunction& clock = Clock();
  return clock ? clock() : SystemNow();
}

TDateTime Date() {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  return EncodeDate(y, m, d);
}

void SetClock(ClockFunction clock) { Clock() = std::move(clock); }

ScopedFixedClock::ScopedFixedClock(TDateTime now) : now_(now), previous_(Clock()) {
  Clock() = [this] { return now_; };
}

ScopedFixedClock::~ScopedFixedClock() { Clock() = std::move(previous_); }

}  // namespace platform
