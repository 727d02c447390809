#include "books/journal/bankimport.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <system_error>

#include "platform/cp1252.h"
#include "text/textroutines.h"

namespace books::journal {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control characters only (an empty line, a line of blanks, an
// old end-of-file mark).
bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<std::string> CellAt(const std::vector<std::string>& cells, std::int32_t column) {
  if (column < 0 || static_cast<std::size_t>(column) >= cells.size()) return std::nullopt;
  return cells[static_cast<std::size_t>(column)];
}

}  // namespace

std::string DecodeStatement(std::string_view bytes) { return cp1252::DecodeTextFile(bytes).text; }

std::vector<std::string> StatementLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  while (!lines.empty() && IsBlankLine(lines.back())) lines.pop_back();
  return lines;
}

SplitSettings ReadSplitSettings(std::string_view separatorField, std::string_view qualifierField,
                                bool excludeFirstRow) {
  SplitSettings settings;
  if (separatorField.empty()) {
    settings.outcome = SplitOutcome::SeparatorEmpty;
    return settings;
  }
  char separator = separatorField.front();
  if (cp1252::EqualsIgnoringCase(separatorField, "Tab")) {
    separator = '\t';
  } else if (separatorField.size() != 1) {
    settings.outcome = SplitOutcome::SeparatorNotOneChar;
    return settings;
  }
  std::optional<char> qualifier;
  if (qualifierField.size() > 1) {
    settings.outcome = SplitOutcome::QualifierNotOneChar;
    return settings;
  }
  if (qualifierField.size() == 1) qualifier = qualifierField.front();
  if (qualifier == separator) {
    settings.outcome = SplitOutcome::QualifierIsSeparator;
    return settings;
  }
  settings.options = SplitOptions{separator, qualifier, excludeFirstRow};
  return settings;
}

std::optional<std::vector<std::string>> SplitLine(std::string_view line, const SplitOptions& options) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    std::string field;
    if (options.qualifier && line[i] == *options.qualifier) {
      const char q = *options.qualifier;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == q) {
          if (i + 1 < line.size() && line[i + 1] == q) {  // a doubled qualifier is one
            field += q;
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        field += line[i++];
      }
      if (!closed) return std::nullopt;
      // Text between the closing qualifier and the separator is kept.
      const std::size_t end = std::min(line.find(options.separator, i), line.size());
      field.append(line.substr(i, end - i));
      i = end;
    } else {
      const std::size_t end = std::min(line.find(options.separator, i), line.size());
      field.assign(line.substr(i, end - i));
      i = end;
    }
    fields.push_back(std::move(field));
    if (i < line.size()) ++i;  // past the separator; one at the very end adds no field
  }
  return fields;
}

SplitResult SplitStatement(const std::vector<std::string>& lines, const SplitOptions& options) {
  SplitResult result;
  if (options.excludeFirstRow && !lines.empty()) {
    const auto header = SplitLine(lines.front(), options);
    result.headerFields = header ? header->size() : 0;
  }
  for (std::size_t k = options.excludeFirstRow ? 1 : 0; k < lines.size(); ++k) {
    const int lineNumber = static_cast<int>(k) + 1;
    auto cells = SplitLine(lines[k], options);
    if (!cells) {
      result.outcome = SplitOutcome::UnterminatedQualifier;
      result.errorLine = lineNumber;
      result.rows.clear();
      result.columnCount = 0;
      return result;
    }
    result.columnCount = std::max(result.columnCount, cells->size());
    result.rows.push_back(StatementRow{lineNumber, std::move(*cells)});
  }
  return result;
}

namespace {

// An amount cell as ReadStatementAmount reads it: its digits with "." at the
// decimal separator (when there is one), the sign, and the digits after the
// separator.
struct AmountText {
  std::string plain;
  bool negative = false;
  std::size_t decimals = 0;
};

std::optional<AmountText> ReadAmountText(std::string_view cell) {
  std::string_view text = TrimBlanks(cell);
  AmountText out;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    out.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  bool digit = false;
  for (char c : text) {
    if (IsDigit(c))
      digit = true;
    else if (c != '.' && c != ',')
      return std::nullopt;
  }
  if (!digit) return std::nullopt;
  const std::size_t dot = text.rfind('.');
  const std::size_t comma = text.rfind(',');
  std::size_t decimal = std::string_view::npos;
  if (dot != std::string_view::npos && comma != std::string_view::npos) {
    decimal = std::max(dot, comma);
  } else {
    const char kind = dot != std::string_view::npos ? '.' : ',';
    decimal = text.find(kind);
    if (decimal != std::string_view::npos && text.find(kind, decimal + 1) != std::string_view::npos)
      return std::nullopt;  // two decimal separators
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      out.plain += text[i];
      if (decimal != std::string_view::npos && i > decimal) ++out.decimals;
    } else if (i == decimal) {
      out.plain += '.';
    }
  }
  return out;
}

}  // namespace

std::optional<double> ReadStatementAmount(std::string_view cell) {
  const auto text = ReadAmountText(cell);
  if (!text) return std::nullopt;
  double value = 0;
  const std::string& plain = text->plain;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return text->negative && value != 0 ? -value : value;
}

std::size_t StatementAmountDecimals(std::string_view cell) {
  const auto text = ReadAmountText(cell);
  return text ? text->decimals : 0;
}

std::optional<std::string> ReadStatementDate(std::string_view cell, std::string_view layout) {
  if (std::find(kStatementDateLayouts.begin(), kStatementDateLayouts.end(), layout) == kStatementDateLayouts.end())
    return std::nullopt;
  const std::string_view text = TrimBlanks(cell);
  if (text.size() != layout.size()) return std::nullopt;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const bool digitPlace = layout[i] != '-';
    if (IsDigit(text[i]) != digitPlace) return std::nullopt;
  }
  const std::size_t y4 = layout.find("yyyy");
  const std::string year =
      y4 != std::string_view::npos ? std::string(text.substr(y4, 4)) : "20" + std::string(text.substr(layout.find("yy"), 2));
  const std::string ymd =
      year + std::string(text.substr(layout.find("mm"), 2)) + std::string(text.substr(layout.find("dd"), 2));
  if (!text::IsValidYmd(ymd)) return std::nullopt;
  return ymd;
}

StatementFields MapStatementRow(const std::vector<std::string>& cells, const records::ImportProfileRec& profile) {
  StatementFields fields;
  fields.date = CellAt(cells, profile.DateColumn());
  fields.ownAccount = CellAt(cells, profile.OwnAccountColumn());
  fields.counterpartyAccount = CellAt(cells, profile.CounterpartyAccountColumn());
  fields.ascription = CellAt(cells, profile.AscriptionColumn());
  fields.debitCredit = CellAt(cells, profile.DebitCreditColumn());
  fields.amount = CellAt(cells, profile.AmountColumn());
  for (int k = 1; k <= records::ImportProfileRec::kNarrativeCount; ++k)
    fields.narratives[static_cast<std::size_t>(k - 1)] = CellAt(cells, profile.NarrativeColumn(k));
  return fields;
}

}  // namespace books::journal
