#include "platform/numberformat.h"

#include <clocale>
#include <stdexcept>

namespace platform {
namespace {

std::optional<char>& Override() {
  static std::optional<char> value;
  return value;
}

}  // namespace

NumberFormat NumberFormatFromDecimalPoint(std::string_view decimalPoint) {
  if (decimalPoint == ".") return NumberFormat{'.', ','};
  return NumberFormat{',', '.'};
}

NumberFormat CurrentNumberFormat() {
  if (const std::optional<char>& o = Override()) return NumberFormatFromDecimalPoint(std::string_view(&*o, 1));
  const std::lconv* lc = std::localeconv();
  return NumberFormatFromDecimalPoint(lc && lc->decimal_point ? lc->decimal_point : ".");
}

bool SetNumberFormatOverride(char decimalSeparator) {
  if (decimalSeparator != ',' && decimalSeparator != '.') return false;
  Override() = decimalSeparator;
  return true;
}

void ClearNumberFormatOverride() { Override().reset(); }

std::optional<char> NumberFormatOverride() { return Override(); }

ScopedNumberFormat::ScopedNumberFormat(char decimalSeparator) : previous_(Override()) {
  if (!SetNumberFormatOverride(decimalSeparator))
    throw std::invalid_argument("the decimal separator must be \",\" or \".\"");
}

ScopedNumberFormat::~ScopedNumberFormat() { Override() = previous_; }

}  // namespace platform
