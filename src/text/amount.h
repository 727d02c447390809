// Amounts in whole units: the one rule by which an amount held as a double
// becomes a count of its smallest unit (cents for two decimals), and the
// tolerances by which two amounts count as equal.
//
// Rounding: the value's shortest decimal text that reads back as the same
// double (for a typed amount, what the user typed) is rounded half away from
// zero at `decimals` places. So 1.005 gives 101 cents, 0.285 gives 29, 10.075
// gives 1008 and -2.675 gives -268: the rounding FormatAmount shows
// (text::RoundedAmountDigits), so an amount compared or written in cents is
// the amount on the screen. A computed value keeps every digit its double
// holds: 10.074999999999999 gives 1007. Decimals count from 0 to 4, as the
// program's amount settings do; others are taken as the nearest of those.
//
// Equality: amounts are compared with an absolute tolerance, never with ==.
// `kBalanceTolerance` (0.000001) is the test of the balance reports (the two
// statements' net and profit); a voucher is balanced when its two sides
// differ by less than `kVoucherTolerance` (0.00001). Stored amounts are never
// rewritten by any of this.
#pragma once

#include <cstdint>
#include <optional>

namespace text {

inline constexpr double kBalanceTolerance = 0.000001;
inline constexpr double kVoucherTolerance = 0.00001;

// `value` in units of 10^-decimals, rounded as above; nullopt for NaN, the
// infinities and values whose units do not fit in 18 digits.
std::optional<std::int64_t> ToCents(double value, int decimals = 2);

// `value` rounded to `decimals` places by the same rule (the units of
// ToCents over 10^decimals); a value ToCents cannot count is returned as it
// is.
double RoundToUnit(double value, int decimals);

// Whether `a` and `b` differ by less than `tolerance` (never for NaN).
bool SameAmount(double a, double b, double tolerance = kBalanceTolerance);

// Whether both amounts round to the same units at `decimals` places (never
// when either cannot be counted).
bool SameUnits(double a, double b, int decimals = 2);

}  // namespace text
