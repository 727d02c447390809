#include "text/textroutines.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/errors.h"
#include "platform/numberformat.h"
#include "text/systemsettings.h"

namespace text {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control characters, the characters that trimming removes.
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }


// The number of R, which holds digits, "-" and decimal separators only: an
// optional "-" in front, digits, at most one separator, and one digit at
// least.
std::optional<double> ConvertAmount(const std::string& r, char decimal) {
  size_t i = 0;
  bool negative = false;
  if (i < r.size() && r[i] == '-') {
    negative = true;
    ++i;
  }
  std::string plain = "0";  // from_chars wants a digit in front of the point
  bool separator = false, digit = false;
  for (; i < r.size(); ++i) {
    if (IsDigit(r[i])) {
      plain += r[i];
      digit = true;
    } else if (r[i] == decimal && !separator) {
      plain += '.';
      separator = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  if (value == 0) return 0.0;
  return negative ? -value : value;
}

// Steps of ParseAmount; S is left as they leave it.
std::optional<double> Parse(std::string& S) {
  const char decimal = platform::DecimalSeparator();
  if (S.empty()) S = "0";
  S = TrimText(S);
  if (S.empty()) return 0.0;  // blanks only
  // A currency sign in front; a leading decimal separator stays (",5" is 0.5).
  if (!IsDigit(S[0]) && S[0] != '-' && S[0] != decimal) S = TrimText(S.substr(1));
  std::string r;
  for (char c : S) {
    if (IsDigit(c) || c == '-' || c == decimal) r += c;
    if (r == ",") r = "0,";
    if (r == ".") r = "0.";
  }
  return ConvertAmount(r, decimal);
}

// The runtime's fixed ("F") and number ("N") formats of Value with Decimals
// digits: a "-" for a negative value that does not round to zero, the whole
// part (grouped by three for "N"), the decimal separator and the decimals.
std::string FormatNumber(double value, int decimals, bool grouped) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const platform::NumberFormat nf = platform::CurrentNumberFormat();
  std::string digits = RoundedAmountDigits(value, decimals);
  if (digits.size() < static_cast<size_t>(decimals) + 1)
    digits.insert(0, decimals + 1 - digits.size(), '0');
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  const std::string whole = digits.substr(0, digits.size() - decimals);
  std::string out = value < 0 && !zero ? "-" : "";
  for (size_t i = 0; i < whole.size(); ++i) {
    if (grouped && i > 0 && (whole.size() - i) % 3 == 0) out += nf.ThousandSeparator;
    out += whole[i];
  }
  if (decimals > 0) {
    out += nf.DecimalSeparator;
    out += digits.substr(whole.size());
  }
  return out;
}

}  // namespace

std::string RoundedAmountDigits(double Value, int Decimals) {
  const double magnitude = std::fabs(Value);
  if (magnitude == 0 || !std::isfinite(magnitude)) return "0";
  // The shortest text that reads back as the value, in scientific form:
  // "d.ddde+XX" or "de+XX".
  char buf[64];
  const auto printed = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
  const std::string_view sci(buf, static_cast<std::size_t>(printed.ptr - buf));
  const std::size_t ePos = sci.find('e');
  // The exponent: "e", a sign, two or three digits.
  int exponent = 0;
  for (std::size_t i = ePos + 2; i < sci.size(); ++i) exponent = exponent * 10 + (sci[i] - '0');
  if (sci[ePos + 1] == '-') exponent = -exponent;
  std::string digits(sci.substr(0, 1));
  if (ePos > 2) digits.append(sci.substr(2, ePos - 2));
  // The digit at index k stands for 10^(exponent - k); keep those down to
  // 10^-Decimals and round half away from zero on the next one.
  const int keep = exponent + 1 + Decimals;
  if (keep < 0) return "0";
  if (keep >= static_cast<int>(digits.size())) return digits + std::string(keep - digits.size(), '0');
  std::string kept = digits.substr(0, static_cast<std::size_t>(keep));
  if (digits[static_cast<std::size_t>(keep)] >= '5') {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0)
      ++kept[static_cast<std::size_t>(i)];
    else
      kept.insert(kept.begin(), '1');
  }
  return kept.empty() ? "0" : kept;
}

std::string Cut(std::string_view text, std::size_t room) { return std::string(text.substr(0, room)); }

std::string TrimText(std::string_view S) {
  size_t b = 0, e = S.size();
  while (b < e && IsBlankOrControl(S[b])) ++b;
  while (e > b && IsBlankOrControl(S[e - 1])) --e;
  return std::string(S.substr(b, e - b));
}

std::string TrimTrailingBlanks(std::string_view S) {
  while (!S.empty() && S.back() == ' ') S.remove_suffix(1);
  return std::string(S);
}

double ParseAmount(std::string& S) {
  const std::string given = S;
  std::optional<double> value = Parse(S);
  if (!value) throw platform::ConversionError("'" + given + "' is not a valid amount");
  return *value;
}

std::optional<double> TryParseAmount(std::string_view S) {
  std::string copy(S);
  return Parse(copy);
}

void FormatAmount(double Value, int32_t& Decimals, char Grouped, std::string& Text) {
  if (Decimals == -1) Decimals = SystemSettings.AmountDecimals;
  // The runtime's formats take 0 to 18 decimals.
  const int decimals = Decimals < 0 ? 0 : (Decimals > 18 ? 18 : Decimals);
  const bool grouped = Grouped == 'Y';
  std::string text = FormatNumber(Value, decimals, grouped);
  if (grouped) {
    if (std::fabs(Value) < 1000) text.insert(0, 1, ' ');
    if (std::fabs(Value) < 1000000) text.insert(0, 1, ' ');
  }
  // Two blanks for each character short of 13: a blank is half as wide as a
  // digit in the report and list fonts.
  const size_t length = text.size();
  if (length < 13) text.insert(0, 2 * (13 - length), ' ');
  if (Value < -0.0000001) text.insert(0, 1, ' ');
  if (SystemSettings.CurrencyInFront == 'T')
    text = std::string(1, SystemSettings.CurrencySign) + " " + text;
  else
    text = text + " " + SystemSettings.CurrencySign;
  Text = std::move(text);
}

std::string FormatAmount(double Value, int32_t Decimals, char Grouped) {
  std::string text;
  FormatAmount(Value, Decimals, Grouped, text);
  return text;
}

void ReformatAmount(std::string& S) {
  std::string copy = S;
  const double value = ParseAmount(copy);
  int32_t decimals = SystemSettings.AmountDecimals;
  FormatAmount(value, decimals, 'Y', S);
}

void KeepDigits(std::string& S) {
  std::string r;
  for (size_t i = 0; i < S.size(); ++i)
    if (IsDigit(S[i]) || (i == 0 && S[i] == '-')) r += S[i];
  S = std::move(r);
}

void FilterAmountInput(std::string& S, bool Skip) {
  if (Skip) return;
  const platform::NumberFormat nf = platform::CurrentNumberFormat();
  const int amountDecimals = SystemSettings.AmountDecimals;
  std::string r;
  bool separatorSeen = false;
  int decimalsTyped = 0;
  size_t i = 0;
  while (i < S.size() && S[i] == ' ') r += S[i++];
  for (; i < S.size(); ++i) {
    const char c = S[i];
    if (IsDigit(c) || c == '-') {
      if (decimalsTyped < amountDecimals || (decimalsTyped == 0 && amountDecimals == 0)) r += c;
      if (separatorSeen && decimalsTyped < amountDecimals) ++decimalsTyped;
    } else if (c == ',' || c == '.') {
      if (i == 0) continue;
      if (c == nf.DecimalSeparator && !separatorSeen) {
        r += c;
        separatorSeen = true;
      }
    }
  }
  S = r == " " ? std::string() : std::move(r);
}

void DateToYmd(platform::TDateTime D, std::string& S) {
  int year, month, day;
  platform::DecodeDate(D, year, month, day);
  std::string s = std::to_string(year);
  if (month < 10) s += '0';
  s += std::to_string(month);
  if (day < 10) s += '0';
  s += std::to_string(day);
  S = std::move(s);
}

std::string DateToYmd(platform::TDateTime D) {
  std::string s;
  DateToYmd(D, s);
  return s;
}

namespace {

// The runtime's text-to-integer conversion for decimal texts: leading blanks,
// an optional sign, then digits only.
std::optional<int> TextToInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  int v = 0;
  for (; i < s.size(); ++i) {
    if (!IsDigit(s[i])) return std::nullopt;
    v = v * 10 + (s[i] - '0');  // at most four digits here
  }
  return negative ? -v : v;
}

std::string_view Part(std::string_view s, size_t from, size_t count) {
  return from < s.size() ? s.substr(from, count) : std::string_view();
}

}  // namespace

platform::TDateTime YmdToDate(std::string_view S) {
  const std::optional<int> year = TextToInt(Part(S, 0, 4));
  const std::optional<int> month = TextToInt(Part(S, 4, 2));
  const std::optional<int> day = TextToInt(Part(S, 6, 2));
  platform::TDateTime d = 0;
  if (!year || !month || !day || !platform::TryEncodeDate(*year, *month, *day, d))
    throw platform::ConversionError("'" + std::string(S) + "' is not a valid date");
  return d;
}

bool IsValidYmd(std::string_view S) {
  if (S.size() != 8) return false;
  for (char c : S)
    if (!IsDigit(c)) return false;
  auto number = [&](size_t from, size_t count) {
    int v = 0;
    for (size_t i = from; i < from + count; ++i) v = v * 10 + (S[i] - '0');
    return v;
  };
  const int year = number(0, 4), month = number(4, 2), day = number(6, 2);
  if (year < 1990 || year > 2200 || month < 1 || month > 12) return false;
  return day >= 1 && day <= platform::DaysInMonth(year, month);
}

int32_t LastPos(std::string_view Sub, std::string_view S) {
  if (Sub.empty() || Sub.size() > S.size()) return 0;
  // End positions from the end of S towards its start, each candidate
  // compared from its last character backwards.
  for (size_t end = S.size(); end >= Sub.size(); --end) {
    size_t k = Sub.size();
    while (k > 0 && S[end - Sub.size() + k - 1] == Sub[k - 1]) --k;
    if (k == 0) return static_cast<int32_t>(end - Sub.size() + 1);
  }
  return 0;
}

void StringChecksum(std::string_view S, std::string_view Salt, int32_t& Sum) {
  // Unsigned arithmetic wraps like the 32-bit signed sums of the stored
  // checksums, without undefined behaviour.
  auto code = [](std::string_view s, size_t position) -> uint32_t {
    return position <= s.size() ? static_cast<unsigned char>(s[position - 1]) : 0u;
  };
  static constexpr int32_t kWeights[4] = {-7, 8, -5, 2};
  uint32_t sum = 13u * code(Salt, 9) + 12841u + 71u * code(Salt, 18);
  for (size_t i = 1; i <= S.size(); ++i) {
    const int32_t w = kWeights[(i - 1) % 4];
    const uint32_t factor = static_cast<uint32_t>(w) * static_cast<uint32_t>(i);
    sum += (code(S, i) - static_cast<uint32_t>(5 * w)) * factor;
  }
  Sum = static_cast<int32_t>(sum);  // two's complement (C++20)
}

int32_t StringChecksum(std::string_view S, std::string_view Salt) {
  int32_t sum = 0;
  StringChecksum(S, Salt, sum);
  return sum;
}

}  // namespace text
