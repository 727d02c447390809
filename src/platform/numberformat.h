// The locale's decimal separator and grouping character, as the amount
// routines use them.
//
// They come in one of two pairs only: "." with "," as grouping character, or
// "," with ".". The decimal separator is the locale's (LC_NUMERIC, read
// through localeconv; the program's main calls setlocale(LC_ALL, "") first,
// so tests without it see the C locale's "."); a decimal point that is "."
// gives the point pair, anything else the comma pair, and the grouping
// character is always the other of the two, whatever the locale groups with.
//
// An override replaces the locale's choice (a command-line or environment
// option of the program; tests use ScopedNumberFormat).
#pragma once

#include <optional>
#include <string_view>

namespace platform {

struct NumberFormat {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  bool operator==(const NumberFormat&) const = default;
};

// The pair for a decimal point text as localeconv reports it.
NumberFormat NumberFormatFromDecimalPoint(std::string_view decimalPoint);

// The pair in force: the override when one is set, else the locale's.
NumberFormat CurrentNumberFormat();
inline char DecimalSeparator() { return CurrentNumberFormat().DecimalSeparator; }
inline char ThousandSeparator() { return CurrentNumberFormat().ThousandSeparator; }

// Sets the override to the pair of `decimalSeparator`, "," or "."; false (and
// nothing changed) for any other character.
bool SetNumberFormatOverride(char decimalSeparator);
void ClearNumberFormatOverride();
// The decimal separator of the override, if one is set.
std::optional<char> NumberFormatOverride();

// Sets the decimal separator ("," or ".", else std::invalid_argument) while
// it lives; the override in force before (or none) comes back at its end.
class ScopedNumberFormat {
 public:
  explicit ScopedNumberFormat(char decimalSeparator);
  ~ScopedNumberFormat();
  ScopedNumberFormat(const ScopedNumberFormat&) = delete;
  ScopedNumberFormat& operator=(const ScopedNumberFormat&) = delete;

 private:
  std::optional<char> previous_;
};

}  // namespace platform
