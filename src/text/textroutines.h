// The text routines of the data-store unit that every form uses: amounts
// read from and written for the user, the cleaning of an amount edit while
// the user types, dates as the "YYYYMMDD" text of the record files, the last
// occurrence of a substring and the checksum under which passwords are kept.
//
// Texts are code page 1252 byte strings. The routines keep no state; the
// amount routines read the amount settings of `SystemSettings`
// (AmountDecimals, CurrencySign, CurrencyInFront) and the separators of
// platform/numberformat.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/datetime.h"

namespace text {

// An amount text to its value. S is changed on the way: it is left trimmed of
// blanks and control characters and without a currency sign in front. A
// leading character that is not a digit, "-" or the decimal separator is
// taken for that sign and dropped; then the digits, "-" and the decimal
// separator are kept and every other character (the grouping character,
// blanks, letters, the sign after the amount) is dropped. The empty text and
// a text of blanks only give 0. A text that then holds no digit, a "-" other
// than in front, or two decimal separators raises platform::ConversionError
// naming the text ("'12-3' is not a valid amount").
double ParseAmount(std::string& S);
// As ParseAmount of a copy of S, with nullopt in place of the error.
std::optional<double> TryParseAmount(std::string_view S);

// Value as the amount text of the program: Decimals digits after the
// locale's decimal separator (-1: SystemSettings.AmountDecimals, written back
// into Decimals), grouped in thousands with the locale's grouping character
// when Grouped is 'Y', then right-aligned for a proportional font with
// leading blanks, and the currency sign with one blank before or after it.
// The value is rounded as RoundedAmountDigits rounds it (2.675 gives "2,68",
// 12345678901234.56 keeps its cents); a value that rounds to zero shows no
// minus.
void FormatAmount(double Value, int32_t& Decimals, char Grouped, std::string& Text);
std::string FormatAmount(double Value, int32_t Decimals, char Grouped);

// The one rounding rule of amounts shown or written as text: the decimal
// digits of |Value| x 10^Decimals (Decimals 0 or more), rounded half away from
// zero on the shortest decimal text that reads back as Value (std::to_chars
// without a precision). So 1.005 with 2 decimals gives "101" and 2.675 gives
// "268", as the user typed them, and every digit a double keeps counts
// (12345678901234.56 gives "1234567890123456"). No leading zeros; "0" for a
// value that rounds to zero, NaN and the infinities.
std::string RoundedAmountDigits(double Value, int Decimals);

// S parsed and formatted again, grouped, with SystemSettings.AmountDecimals.
// platform::ConversionError (S unchanged) when S cannot be parsed.
void ReformatAmount(std::string& S);

// S without the blanks and control characters at either end.
std::string TrimText(std::string_view S);
// The first `room` bytes of `text` (all of it when it is shorter), as a
// string[room] field or a caption with a fixed room keeps it.
std::string Cut(std::string_view text, std::size_t room);
// S without the blanks that stored record texts are padded with.
std::string TrimTrailingBlanks(std::string_view S);

// S reduced to its digits, keeping a "-" in the first position.
void KeepDigits(std::string& S);

// Cleans the text of an amount edit on every change: keeps the leading
// blanks, then digits, "-" anywhere and one decimal separator (not as the
// very first character of the text), with at most
// SystemSettings.AmountDecimals digits after it (unlimited when that is 0);
// a text left as one blank becomes empty. Does nothing when Skip is true (the
// caller is writing the edit itself).
void FilterAmountInput(std::string& S, bool Skip);

// The date of D as "YYYYMMDD".
void DateToYmd(platform::TDateTime D, std::string& S);
std::string DateToYmd(platform::TDateTime D);
// The date of a "YYYYMMDD" text; platform::ConversionError when a part is
// not a number or the date does not exist.
platform::TDateTime YmdToDate(std::string_view S);
// S is eight digits naming an existing date of the years 1990 to 2200.
bool IsValidYmd(std::string_view S);

// The 1-based position at which the last occurrence of Sub in S begins; 0
// when there is none, and for an empty Sub.
int32_t LastPos(std::string_view Sub, std::string_view S);

// The checksum stored in place of password S, seeded from the 9th and 18th
// characters of Salt (the date-time text of the moment the password was set;
// a missing character counts 0). 32-bit arithmetic that wraps around.
void StringChecksum(std::string_view S, std::string_view Salt, int32_t& Sum);
int32_t StringChecksum(std::string_view S, std::string_view Salt);

}  // namespace text
