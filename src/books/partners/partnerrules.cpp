// The partner form's decisions (see partnerrules.h).
#include "books/partners/partnerrules.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <system_error>

#include "platform/cp1252.h"
#include "platform/numberformat.h"
#include "text/builtintext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace books::partners {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view NumberPart(std::string_view item) { return item.substr(0, item.find('{')); }

}  // namespace

std::string PickerItemText(const PickerAccount& account) { return account.number + "{" + account.caption + "}"; }

std::string AccountNumberOfText(std::string_view text) {
  const std::size_t brace = text.find('{');
  if (brace != std::string_view::npos) return std::string(text.substr(0, brace));
  return text::TrimTrailingBlanks(text);
}

std::vector<std::string> PickerItems(const std::vector<PickerAccount>& accounts) {
  std::vector<std::string> items{""};
  for (const PickerAccount& a : accounts) items.push_back(PickerItemText(a));
  return items;
}

std::optional<int> AccountItemFor(const std::vector<std::string>& items, std::string_view stored) {
  const std::string number = text::TrimTrailingBlanks(stored);
  if (number.empty()) return std::nullopt;
  for (std::size_t i = 1; i < items.size(); ++i)
    if (NumberPart(items[i]) == number) return static_cast<int>(i);
  return std::nullopt;
}

AccountDisplay ShowAccount(const std::vector<std::string>& items, std::string_view stored) {
  if (const auto i = AccountItemFor(items, stored)) return {items[static_cast<std::size_t>(*i)], true};
  const std::string number = text::TrimTrailingBlanks(stored);
  return {number, number.empty()};
}

std::string PickerTextOnEnter(const std::vector<std::string>& items, std::string_view editText) {
  const std::string text = text::TrimTrailingBlanks(editText);
  if (!text.empty()) return text;
  return items.size() > 1 ? items.back() : std::string();
}

std::string PickerTextOnLeave(const std::vector<std::string>& items, std::string_view typed,
                              std::string_view entered, bool required) {
  if (typed.empty()) {
    // The empty item: only the optional edits take it.
    if (!required) return std::string();
  } else {
    for (std::size_t i = 1; i < items.size(); ++i)
      if (cp1252::EqualsIgnoringCase(items[i], typed)) return items[i];
    for (std::size_t i = 1; i < items.size(); ++i)
      if (cp1252::EqualsIgnoringCase(NumberPart(items[i]), typed)) return items[i];
    if (typed == text::TrimTrailingBlanks(entered)) return std::string(typed);
  }
  if (required && items.size() > 1) return items[1];
  return std::string();
}

std::array<std::string, 16> DefaultAccountItems(const std::vector<PickerAccount>& accounts,
                                                const std::array<std::string, 16>& codes) {
  std::array<std::string, 16> defaults{};
  for (const PickerAccount& a : accounts)
    for (int i = 1; i <= 15; ++i)
      if (!codes[static_cast<std::size_t>(i)].empty() && codes[static_cast<std::size_t>(i)] == a.function)
        defaults[static_cast<std::size_t>(i)] = PickerItemText(a);
  return defaults;
}

int DefaultFunctionIndex(int kindIndex, int editIndex) { return (kindIndex == 0 ? 1 : 8) + editIndex; }

// ---- numbers

std::optional<int> ParseDays(std::string_view text) {
  const std::string t = text::TrimText(text);
  if (t.empty()) return 0;
  for (const char c : t)
    if (!IsDigit(c)) return std::nullopt;
  int value = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), value);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseRate(std::string_view text) {
  const std::string t = text::TrimText(text);
  if (t.empty()) return 0.0;
  const char separator = platform::DecimalSeparator();
  std::string plain;
  bool digit = false, point = false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (IsDigit(c)) {
      digit = true;
      plain += c;
    } else if (c == '-' && i == 0) {
      plain += c;
    } else if (c == separator && !point) {
      point = true;
      plain += '.';
    } else {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  double value = 0;
  const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (r.ec != std::errc() || r.ptr != plain.data() + plain.size()) return std::nullopt;
  return value;
}

std::string RateText(double rate) {
  if (rate == 0) return "0";
  std::array<char, 64> buffer{};
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate, std::chars_format::fixed);
  std::string text(buffer.data(), r.ptr);
  for (char& c : text)
    if (c == '.') c = platform::DecimalSeparator();
  return text;
}

std::string CreditLimitText(double value) {
  std::string text = text::FormatAmount(value, 2, 'Y');
  std::erase(text, text::SystemSettings.CurrencySign);
  return text::TrimText(text);
}

std::string FilterRateInput(std::string_view text) {
  const char separator = platform::DecimalSeparator();
  std::string out;
  bool point = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      out += c;
    } else if (c == '-' && out.empty()) {
      out += c;
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
      out += separator;
    }
  }
  return out;
}

FiguresResult ReadFigures(std::string_view creditLimit, std::string_view discountDays, std::string_view discountRate,
                          std::string_view netDays, std::string_view penaltyRate) {
  FiguresResult result;
  PartnerFigures f;
  const auto limit = text::TryParseAmount(creditLimit);
  if (!limit) return {std::nullopt, FigureField::CreditLimit};
  f.creditLimit = *limit;
  const auto days = ParseDays(discountDays);
  if (!days) return {std::nullopt, FigureField::DiscountDays};
  f.discountDays = *days;
  const auto rate = ParseRate(discountRate);
  if (!rate) return {std::nullopt, FigureField::DiscountRate};
  f.discountRate = *rate;
  const auto net = ParseDays(netDays);
  if (!net) return {std::nullopt, FigureField::NetDays};
  f.netDays = *net;
  const auto penalty = ParseRate(penaltyRate);
  if (!penalty) return {std::nullopt, FigureField::PenaltyRate};
  f.penaltyRate = *penalty;
  result.figures = f;
  return result;
}

std::string MemoText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "" : "\r\n") + lines[i];
  return text;
}

std::vector<std::string> MemoLines(std::string_view stored) {
  std::vector<std::string> lines;
  if (stored.empty()) return lines;
  std::size_t from = 0;
  for (std::size_t at; (at = stored.find("\r\n", from)) != std::string_view::npos; from = at + 2)
    lines.emplace_back(stored.substr(from, at - from));
  lines.emplace_back(stored.substr(from));
  return lines;
}

// ---- tabs and texts

int NextPartnerTab(int tab) {
  switch (tab) {
    case TabDetails1: return TabDetails2;
    case TabDetails2: return TabFinance;
    case TabFinance:
    case TabGraphics: return TabPartnerList;
    default: return TabDetails1;
  }
}

int PreviousPartnerTab(int tab) { return tab <= TabDetails1 || tab >= PartnerTabCount ? TabPartnerList : tab - 1; }

std::string PartnerHelpTag(int tab) {
  static const std::array<const char*, PartnerTabCount> tags = {"<SUP00>", "<SUP02>", "<SUP03>", "<SUP04>",
                                                                "<SUP05>"};
  return tab >= 0 && tab < PartnerTabCount ? tags[static_cast<std::size_t>(tab)] : tags[0];
}

std::string StartValueMessage(std::string_view languageName) {
  if (languageName == "Nederlands")
    return "Het systeem maakt een nieuw bestand aan. Alleen nu kunt U een startwaarde geven aan het klant of "
           "leveranciersnummer. Raadpleeg de helpfunctie of kies waarde 1";
  if (languageName == "Deutsch")
    return cp1252::L(
        "Das System erstellt eine neue Datei. Erst jetzt k\xC3\xB6nnen Sie eine Start-Wert f\xC3\xBCr den Kunden "
        "oder Lieferanten-Nummer w\xC3\xA4hlen. Wenden Sie sich das Handbuch an oder w\xC3\xA4hlen Sie Wert 1");
  return "The system has to generate a new file. Only now you can add a startvalue to the first Customer or "
         "Supplier number. Read the helpfile or enter number 1";
}

std::string MsgBadStartValue() {
  return text::BuiltInText(text::BuiltIn::BadStartValue);
}

std::string MsgNotANumber(const std::string& label) {
  const std::string name = text::TrimText(label);
  return text::BuiltInText(text::BuiltIn::NotANumber, {name});
}

std::string MsgStartValueTooLate() {
  return text::BuiltInText(text::BuiltIn::StartValueTooLate);
}

std::string MsgPartnerGone() {
  return text::BuiltInText(text::BuiltIn::PartnerGone);
}

}  // namespace books::partners
