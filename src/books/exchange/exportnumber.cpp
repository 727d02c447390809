#include "books/exchange/exportnumber.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <system_error>

#include "platform/numberformat.h"

namespace reports {

namespace {

// Magnitudes written in fixed notation: decimal exponents -5 to 14.
constexpr int kLowestFixedExponent = -5;
constexpr int kHighestFixedExponent = 14;
constexpr int kSignificantDigits = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// C's reading of a text in the "C" locale, whatever the process's locale.
double ReadC(const std::string& text) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
  std::string plain = text;
  for (char& c : plain)
    if (c == ',') c = '.';  // %e under a comma locale
  return strtod_l(plain.c_str(), nullptr, cLocale);
}

}  // namespace

std::optional<std::string> FormatExportNumber(double value, char separator) {
  if (!std::isfinite(value)) return std::nullopt;
  if (value == 0) return std::string("0");  // -0 as well

  // d.dddddddddddddde[+-]x: the value rounded to 15 significant digits, with
  // the exponent of the rounded value.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, value);
  std::string text(buffer);
  if (std::fabs(value) >= 1e308 && !std::isfinite(ReadC(text))) {
    // Rounding up passed the largest double (near 1.8E308): cut instead,
    // so that the text reads back.
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits + 1, value);
    text = buffer;
    const std::size_t e = text.find('e');
    text.erase(kSignificantDigits + 1 + (text[0] == '-' ? 1 : 0), e - (kSignificantDigits + 1 + (text[0] == '-' ? 1 : 0)));
  }
  const bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  const std::size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  const int exponent = std::atoi(text.c_str() + e + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= kLowestFixedExponent && exponent <= kHighestFixedExponent) {
    if (exponent >= 0) {
      const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= whole) {
        out += digits + std::string(whole - digits.size(), '0');
      } else {
        out += digits.substr(0, whole) + separator + digits.substr(whole);
      }
    } else {
      out += std::string("0") + separator + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) out += separator + digits.substr(1);
  out += 'E';
  if (exponent < 0) out += '-';
  out += std::to_string(std::abs(exponent));
  return out;
}

std::optional<std::string> FormatExportNumber(double value) {
  return FormatExportNumber(value, platform::DecimalSeparator());
}

std::optional<double> ReadExportNumber(std::string_view text, char separator) {
  // Checked here, then handed to from_chars with "." in place of the
  // separator (from_chars itself knows no sign "+" and no other separator).
  std::string plain;
  plain.reserve(text.size());
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  int mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++mantissaDigits;
  if (i < text.size() && text[i] == separator) {
    plain += '.';
    ++i;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) plain += text[i++];
    int exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  double value = 0;
  const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Subnormal or too small to hold: C's reading (the nearest subnormal or
    // 0); too large has no value.
    const double c = ReadC(plain);
    if (!std::isfinite(c)) return std::nullopt;
    return c;
  }
  if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> ReadExportNumber(std::string_view text) {
  return ReadExportNumber(text, platform::DecimalSeparator());
}

std::optional<std::int32_t> ReadExportInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace reports
