#include "text/amount.h"

#include <algorithm>
#include <cmath>

#include "text/textroutines.h"

namespace text {
namespace {

constexpr double kScales[] = {1, 10, 100, 1000, 10000};

// Below this many units a double's step is far under half a unit, so when
// n units read back as the value, its shortest text rounds to n as well.
constexpr double kQuickUnitsLimit = 1e13;

}  // namespace

std::optional<std::int64_t> ToCents(double value, int decimals) {
  if (!std::isfinite(value)) return std::nullopt;
  decimals = std::clamp(decimals, 0, 4);
  const double scale = kScales[decimals];
  const double magnitude = std::fabs(value);
  // Most amounts are a whole number of units n as near as a double gets.
  if (magnitude * scale < kQuickUnitsLimit) {
    const auto n = static_cast<std::int64_t>(magnitude * scale + 0.5);
    if (static_cast<double>(n) / scale == magnitude) return value < 0 ? -n : n;
  }
  const std::string digits = RoundedAmountDigits(value, decimals);
  if (digits.size() > 18) return std::nullopt;
  std::int64_t units = 0;
  for (const char digit : digits) units = units * 10 + (digit - '0');
  return value < 0 ? -units : units;
}

double RoundToUnit(double value, int decimals) {
  const std::optional<std::int64_t> units = ToCents(value, decimals);
  if (!units) return value;
  return static_cast<double>(*units) / kScales[std::clamp(decimals, 0, 4)];
}

bool SameAmount(double a, double b, double tolerance) { return std::fabs(a - b) < tolerance; }

bool SameUnits(double a, double b, int decimals) {
  const std::optional<std::int64_t> x = ToCents(a, decimals), y = ToCents(b, decimals);
  return x && y && *x == *y;
}

}  // namespace text
