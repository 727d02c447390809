#include "books/exchange/exportnumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <system_error>

#include "platform/numberformat.h"

namespace books::exchange {

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

// Writes into `out` the text printf's "%.*e" gives in the "C" locale,
// `decimals` digits after the point, whatever the process's locale; returns
// its length.
std::size_t Scientific(char (&out)[64], double value, int decimals) {
  const auto [end, ec] = std::to_chars(out, out + sizeof out, value, std::chars_format::scientific, decimals);
  return ec == std::errc() ? static_cast<std::size_t>(end - out) : 0;
}

}  // namespace

std::optional<std::string> FormatExportNumber(double value, char separator) {
  if (!std::isfinite(value)) return std::nullopt;
  if (value == 0) return std::string("0");  // -0 as well

  // d.dddddddddddddde[+-]x: the value rounded to 15 significant digits, with
  // the exponent of the rounded value. Built in place: no text on the heap
  // for the usual amount.
  char text[64];
  std::size_t length = Scientific(text, value, kSignificantDigits - 1);
  if (std::fabs(value) >= 1e308 && !std::isfinite(ReadC(std::string(text, length)))) {
    // Rounding up passed the largest double (near 1.8E308): cut instead,
    // so that the text reads back.
    length = Scientific(text, value, kSignificantDigits + 1);
    const std::size_t e = std::string_view(text, length).find('e');
    const std::size_t keep = kSignificantDigits + 1 + (text[0] == '-' ? 1 : 0);
    std::memmove(text + keep, text + e, length - e);
    length = keep + (length - e);
  }
  std::string_view t(text, length);
  const bool negative = t[0] == '-';
  if (negative) t.remove_prefix(1);
  const std::size_t e = t.find('e');
  char digits[32];
  std::size_t count = 0;
  digits[count++] = t[0];
  for (std::size_t i = 2; i < e; ++i) digits[count++] = t[i];
  const char* exponentText = t.data() + e + 1;
  const bool exponentNegative = *exponentText == '-';
  if (*exponentText == '-' || *exponentText == '+') ++exponentText;
  int exponent = 0;
  std::from_chars(exponentText, t.data() + t.size(), exponent);
  if (exponentNegative) exponent = -exponent;
  while (count > 1 && digits[count - 1] == '0') --count;

  char out[64];
  std::size_t o = 0;
  const auto put = [&](const char* from, std::size_t n) {
    std::memcpy(out + o, from, n);
    o += n;
  };
  const auto zeros = [&](std::size_t n) {
    std::memset(out + o, '0', n);
    o += n;
  };
  if (negative) out[o++] = '-';
  if (exponent >= kLowestFixedExponent && exponent <= kHighestFixedExponent) {
    if (exponent >= 0) {
      const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
      if (count <= whole) {
        put(digits, count);
        zeros(whole - count);
      } else {
        put(digits, whole);
        out[o++] = separator;
        put(digits + whole, count - whole);
      }
    } else {
      out[o++] = '0';
      out[o++] = separator;
      zeros(static_cast<std::size_t>(-exponent - 1));
      put(digits, count);
    }
    return std::string(out, o);
  }
  put(digits, 1);
  if (count > 1) {
    out[o++] = separator;
    put(digits + 1, count - 1);
  }
  out[o++] = 'E';
  if (exponent < 0) out[o++] = '-';
  const auto [end, ec] = std::to_chars(out + o, out + sizeof out, std::abs(exponent));
  return std::string(out, end);
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

}  // namespace books::exchange
