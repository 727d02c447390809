// The runtime's date-time value and the clock.
//
// `TDateTime` is a double: the whole part counts days since 30 December 1899
// (day 0), the fraction is the time of day (0.5 is noon). Days before day 0
// are negative; the time of day is then the absolute value of the fraction
// (-1.25 is 29 December 1899, 06:00), as the stored values of the runtime
// have it. Dates use the Gregorian calendar for the years 1 to 9999.
//
// The clock is injectable: the program reads the machine's local time, tests
// set a fixed time with ScopedFixedClock.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

using TDateTime = double;

bool IsLeapYear(int year);
// 28 to 31; 0 for a month outside 1 to 12.
int DaysInMonth(int year, int month);

// The date of year, month and day; platform::ConversionError for a date
// that does not exist or a year outside 1 to 9999.
TDateTime EncodeDate(int year, int month, int day);
// As EncodeDate; false (and `result` untouched) instead of the error.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
// The date part of a value. platform::ConversionError for a value that is
// not a number or lies outside the years 1 to 9999.
void DecodeDate(TDateTime value, int& year, int& month, int& day);

// The time of day as a fraction; platform::ConversionError for hours >= 24,
// minutes or seconds >= 60, milliseconds >= 1000 or a negative part.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
// The time-of-day part, rounded to the nearest millisecond (a value a
// fraction of a millisecond before midnight reads as 00:00:00.000 of the
// next day, in DecodeDate too).
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// A date plus a time of day (for dates before day 0 the time is counted
// away from day 0, see above).
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Day arithmetic on "YYYYMMDD" texts: exactly eight digits naming a valid
// date, else platform::ConversionError. Results have four year digits.
std::string YmdAddDays(std::string_view ymd, int days);
std::string YmdDayBefore(std::string_view ymd);
// Days from `from` to `to` (negative when `to` comes first).
int YmdDaysBetween(std::string_view from, std::string_view to);

// The program's default date-time text, one fixed format for every locale:
// "dd-mm-yyyy hh:nn:ss" (19 characters), used for the record stamps and the
// password salts.
std::string DateTimeToText(TDateTime value);

// The clock: the current local date and time, and today's date (time 0).
TDateTime Now();
TDateTime Date();

// Replaces the clock; an empty function restores the machine's clock.
using ClockFunction = std::function<TDateTime()>;
void SetClock(ClockFunction clock);

// For tests: the clock stands at a fixed time while the guard lives; the
// clock in force before is restored at its end.
class ScopedFixedClock {
 public:
  explicit ScopedFixedClock(TDateTime now);
  ~ScopedFixedClock();
  ScopedFixedClock(const ScopedFixedClock&) = delete;
  ScopedFixedClock& operator=(const ScopedFixedClock&) = delete;
  // Moves the fixed time.
  void Set(TDateTime now) { now_ = now; }

 private:
  TDateTime now_;
  ClockFunction previous_;
};

}  // namespace platform
