// Reading a bank statement for the import: decoding, lines, the split by
// separator and qualifier, amounts, dates and the cells a profile names.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "books/journal/bankimport.h"
#include "books/journal/entryrules.h"
#include "platform/cp1252.h"
#include "platform/numberformat.h"
#include "records/importprofilerec.h"

namespace {

using books::journal::SplitOptions;
using books::journal::SplitOutcome;
using books::journal::StatementRow;
using Cells = std::vector<std::string>;

// ---- Text -------------------------------------------------------------------

TEST(BankImportText, DecodesUtf8AndKeepsCodePage1252) {
  const std::string euroCp = "12\x80 caf\xE9";  // "12€ café" in code page 1252
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"mark and UTF-8", "\xEF\xBB\xBF" "12\xE2\x82\xAC caf\xC3\xA9", euroCp},
      {"mark, ASCII only", "\xEF\xBB\xBF" "a;b", "a;b"},
      {"valid UTF-8 without mark", "12\xE2\x82\xAC caf\xC3\xA9", euroCp},
      {"code page 1252 (invalid UTF-8)", euroCp, euroCp},
      {"a lone continuation byte", "x\x80y", "x\x80y"},
      {"an overlong form is no UTF-8", "a\xC0\xAF", "a\xC0\xAF"},
      {"a truncated sequence at the end", "caf\xC3", "caf\xC3"},
      {"ASCII", "a,b\r\n", "a,b\r\n"},
      {"a character outside the code page", "\xEF\xBB\xBF\xE2\x98\x83", "?"},
      {"mark, then an invalid byte", "\xEF\xBB\xBF" "caf\xE9", "caf?"},
  };
  for (const auto& c : cases) EXPECT_EQ(books::journal::DecodeStatement(c.bytes), c.text) << c.name;
}

TEST(BankImportText, ValidUtf8) {
  EXPECT_TRUE(cp1252::IsValidUtf8(""));
  EXPECT_TRUE(cp1252::IsValidUtf8("\xF0\x9F\x98\x80"));   // U+1F600
  EXPECT_FALSE(cp1252::IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(cp1252::IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(cp1252::IsValidUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(cp1252::IsValidUtf8("\xC3x"));             // a missing continuation
}

TEST(BankImportText, LinesEndInCrLfOrLfAndEmptyLastLinesGo) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"LF", "a\nb\n", {"a", "b"}},
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"no end after the last line", "a\r\nb", {"a", "b"}},
      {"empty last lines", "a\r\nb\r\n\r\n\n  \r\n\x1A", {"a", "b"}},
      {"an empty line further up stays", "a\n\nb\n", {"a", "", "b"}},
      {"a CR inside a line stays", "a\rb\n", {"a\rb"}},
      {"nothing", "", {}},
      {"only empty lines", "\r\n\r\n", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(books::journal::StatementLines(c.text), c.lines) << c.name;
}

// ---- Split ------------------------------------------------------------------

TEST(BankImportSplit, SettingsFields) {
  struct Case {
    const char* separator;
    const char* qualifier;
    SplitOutcome outcome;
    char expectedSeparator;
    std::optional<char> expectedQualifier;
  } cases[] = {
      {",", "\"", SplitOutcome::Done, ',', '"'},
      {";", "'", SplitOutcome::Done, ';', '\''},
      {"Tab", "\"", SplitOutcome::Done, '\t', '"'},
      {"tAB", "\"", SplitOutcome::Done, '\t', '"'},
      {" ", "", SplitOutcome::Done, ' ', std::nullopt},
      {"t", "\"", SplitOutcome::Done, 't', '"'},
      {"", "\"", SplitOutcome::SeparatorEmpty, ',', '"'},
      {";;", "\"", SplitOutcome::SeparatorNotOneChar, ',', '"'},
      {"Tabs", "\"", SplitOutcome::SeparatorNotOneChar, ',', '"'},
      {";", "\"\"", SplitOutcome::QualifierNotOneChar, ',', '"'},
      {";", ";", SplitOutcome::QualifierIsSeparator, ',', '"'},
  };
  for (const auto& c : cases) {
    const auto settings = books::journal::ReadSplitSettings(c.separator, c.qualifier, true);
    EXPECT_EQ(settings.outcome, c.outcome) << '[' << c.separator << "] [" << c.qualifier << ']';
    EXPECT_EQ(settings.options.separator, c.expectedSeparator) << c.separator;
    EXPECT_EQ(settings.options.qualifier, c.expectedQualifier) << c.separator;
    EXPECT_EQ(settings.options.excludeFirstRow, c.outcome == SplitOutcome::Done) << c.separator;
  }
}

TEST(BankImportSplit, Lines) {
  const SplitOptions comma{',', '"', false};
  const SplitOptions semicolon{';', '"', false};
  const SplitOptions tab{'\t', '"', false};
  const SplitOptions unqualified{',', std::nullopt, false};
  struct Case {
    const char* name;
    std::string line;
    SplitOptions options;
    Cells cells;
  } cases[] = {
      {"qualified field holding the separator", "a,\"b,c\",d", comma, {"a", "b,c", "d"}},
      {"a last qualified field", "a,\"x\"", comma, {"a", "x"}},
      {"a first qualified field", "\"x\",a", comma, {"x", "a"}},
      {"doubled qualifiers", "\"say \"\"hi\"\"\",\"\"\"\"", comma, {"say \"hi\"", "\""}},
      {"empty fields", "a,,b", comma, {"a", "", "b"}},
      {"an empty qualified field", "a,\"\",b", comma, {"a", "", "b"}},
      {"a trailing separator adds no field", "a,b,", comma, {"a", "b"}},
      {"two trailing separators add one", "a,b,,", comma, {"a", "b", ""}},
      {"a leading separator", ",a", comma, {"", "a"}},
      {"semicolons, commas inside", "1,5;\"x;y\";z", semicolon, {"1,5", "x;y", "z"}},
      {"Tab", "a\t\"b\tc\"\t\td", tab, {"a", "b\tc", "", "d"}},
      {"no qualifier", "a,\"b,c\"", unqualified, {"a", "\"b", "c\""}},
      {"a qualifier inside a field is text", "ab\"c,d", comma, {"ab\"c", "d"}},
      {"text after the closing qualifier is kept", "\"ab\"c,d", comma, {"abc", "d"}},
      {"blanks stay", " a , b ", comma, {" a ", " b "}},
      {"an empty line", "", comma, {}},
  };
  for (const auto& c : cases) {
    const auto cells = books::journal::SplitLine(c.line, c.options);
    ASSERT_TRUE(cells.has_value()) << c.name;
    EXPECT_EQ(*cells, c.cells) << c.name;
  }
}

TEST(BankImportSplit, AnUnterminatedQualifierIsRefused) {
  const SplitOptions comma{',', '"', false};
  for (const char* line : {"a,\"b,c", "\"", "a,\"b\"\"", "\"ab\"\"\"\"c"})
    EXPECT_FALSE(books::journal::SplitLine(line, comma).has_value()) << line;
}

// A ";"-separated statement in UTF-8 with its mark, CR LF, a header row,
// decimal commas with "." grouping, a trailing separator, and empty lines at
// the end.
const std::string kSemicolonStatement =
    "\xEF\xBB\xBF"
    "Date;Own account;Counterparty;Name;D/C;Amount;Description;\r\n"
    "05-01-2024;NL01 BANK 0123 4567 89;NL02 BANK 9876 5432 10;Caf\xC3\xA9 \"Zon\";D;1.234,56;\"Invoice 12; part\";\r\n"
    "06-01-2024;NL01 BANK 0123 4567 89;;\"Smith \"\"Jr\"\"\";C;121,00;Refund;\r\n"
    "\r\n"
    "\r\n";

TEST(BankImportSplit, SemicolonStatementWithHeader) {
  const auto lines = books::journal::StatementLines(books::journal::DecodeStatement(kSemicolonStatement));
  ASSERT_EQ(lines.size(), 3u);
  const auto settings = books::journal::ReadSplitSettings(";", "\"", true);
  ASSERT_EQ(settings.outcome, SplitOutcome::Done);
  const auto split = books::journal::SplitStatement(lines, settings.options);
  ASSERT_EQ(split.outcome, SplitOutcome::Done);
  const std::vector<StatementRow> rows = {
      {2,
       {"05-01-2024", "NL01 BANK 0123 4567 89", "NL02 BANK 9876 5432 10", "Caf\xE9 \"Zon\"", "D", "1.234,56",
        "Invoice 12; part"}},
      {3, {"06-01-2024", "NL01 BANK 0123 4567 89", "", "Smith \"Jr\"", "C", "121,00", "Refund"}},
  };
  EXPECT_EQ(split.rows, rows);
  EXPECT_EQ(split.columnCount, 7u);

  // The header row kept when it is not excluded; the lines keep their numbers.
  const auto withHeader = books::journal::SplitStatement(lines, SplitOptions{';', '"', false});
  ASSERT_EQ(withHeader.rows.size(), 3u);
  EXPECT_EQ(withHeader.rows[0].line, 1);
  EXPECT_EQ(withHeader.rows[0].cells[0], "Date");
  EXPECT_EQ(withHeader.rows[2].line, 3);
}

TEST(BankImportSplit, CommaAndTabStatementsInCodePage1252WithLf) {
  // Code page 1252 bytes (not valid UTF-8), LF, no header.
  const std::string comma = "20240105,\"1,234.56\",caf\xE9\n20240106,-5.00,\"a \"\"b\"\"\"\n";
  auto split = books::journal::SplitStatement(books::journal::StatementLines(books::journal::DecodeStatement(comma)),
                                              SplitOptions{});
  ASSERT_EQ(split.outcome, SplitOutcome::Done);
  ASSERT_EQ(split.rows.size(), 2u);
  EXPECT_EQ(split.rows[0].cells, (Cells{"20240105", "1,234.56", "caf\xE9"}));
  EXPECT_EQ(split.rows[1].cells, (Cells{"20240106", "-5.00", "a \"b\""}));

  const std::string tab = "20240105\t 12,00 \tx\t\r\n20240106\t3\r\n";
  const auto settings = books::journal::ReadSplitSettings("TAB", "\"", false);
  split = books::journal::SplitStatement(books::journal::StatementLines(books::journal::DecodeStatement(tab)),
                                         settings.options);
  ASSERT_EQ(split.rows.size(), 2u);
  EXPECT_EQ(split.rows[0].cells, (Cells{"20240105", " 12,00 ", "x"}));
  EXPECT_EQ(split.rows[1].cells, (Cells{"20240106", "3"}));
  EXPECT_EQ(split.columnCount, 3u);
}

TEST(BankImportSplit, AnUnterminatedQualifierNamesItsLineAndGivesNoRows) {
  const std::vector<std::string> lines = {"head", "a,b", "c,\"d,e", "f,g"};
  const auto split = books::journal::SplitStatement(lines, SplitOptions{',', '"', true});
  EXPECT_EQ(split.outcome, SplitOutcome::UnterminatedQualifier);
  EXPECT_EQ(split.errorLine, 3);
  EXPECT_TRUE(split.rows.empty());
  EXPECT_EQ(split.columnCount, 0u);
}

TEST(BankImportSplit, OnlyAHeaderGivesNoRows) {
  const auto split = books::journal::SplitStatement({"Date,Amount"}, SplitOptions{',', '"', true});
  EXPECT_EQ(split.outcome, SplitOutcome::Done);
  EXPECT_TRUE(split.rows.empty());
}

// ---- Values -----------------------------------------------------------------

TEST(BankImportValues, AmountsReadTheSameInEitherLocale) {
  struct Case {
    const char* cell;
    std::optional<double> value;
  } cases[] = {
      {"121.00", 121.0},
      {"121,00", 121.0},
      {"1.234,56", 1234.56},
      {"1,234.56", 1234.56},
      {"-5,00", -5.0},
      {" 12,00 ", 12.0},
      {"\t7\t", 7.0},
      {"+3.5", 3.5},
      {"1.234.567,89", 1234567.89},
      {"1,234,567.89", 1234567.89},
      {"1,234.567,89", 1234567.89},  // the right-most decides, every other one groups
      {"1.234", 1.234},              // one kind only: the decimal separator
      {"1,234", 1.234},
      {",5", 0.5},
      {"5,", 5.0},
      {"0", 0.0},
      {"-0,00", 0.0},
      {"1.234.567", std::nullopt},  // one kind twice: two decimal separators
      {"1,2,3", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {",", std::nullopt},
      {"abc", std::nullopt},
      {"12 00", std::nullopt},
      {"EUR 12,00", std::nullopt},
      {"12-3", std::nullopt},
      {"5,00-", std::nullopt},
      {"--5", std::nullopt},
  };
  for (char locale : {'.', ','}) {
    platform::ScopedNumberFormat format(locale);
    for (const auto& c : cases) {
      const auto value = books::journal::ReadStatementAmount(c.cell);
      ASSERT_EQ(value.has_value(), c.value.has_value()) << '[' << c.cell << "] locale " << locale;
      if (value) {
        EXPECT_DOUBLE_EQ(*value, *c.value) << '[' << c.cell << "] locale " << locale;
      }
    }
  }
}

TEST(BankImportValues, NoMinusOnZero) {
  const auto value = books::journal::ReadStatementAmount("-0,00");
  ASSERT_TRUE(value.has_value());
  EXPECT_FALSE(std::signbit(*value));
}

TEST(BankImportValues, DatesInEachLayout) {
  struct Case {
    const char* cell;
    const char* layout;
    std::optional<std::string> ymd;
  } cases[] = {
      {"20240131", "yyyymmdd", "20240131"},
      {"2024-01-31", "yyyy-mm-dd", "20240131"},
      {"240131", "yymmdd", "20240131"},
      {"24-01-31", "yy-mm-dd", "20240131"},
      {"01312024", "mmddyyyy", "20240131"},
      {"01-31-2024", "mm-dd-yyyy", "20240131"},
      {"013124", "mmddyy", "20240131"},
      {"01-31-24", "mm-dd-yy", "20240131"},
      {"31012024", "ddmmyyyy", "20240131"},
      {"31-01-2024", "dd-mm-yyyy", "20240131"},
      {"310124", "ddmmyy", "20240131"},
      {"31-12-07", "dd-mm-yy", "20071231"},
      {"31/12/2007", "dd-mm-yyyy", "20071231"},  // any non-digit where the layout has "-"
      {"31.12.2007", "dd-mm-yyyy", "20071231"},
      {" 29-02-2024 ", "dd-mm-yyyy", "20240229"},
      {"29-02-2023", "dd-mm-yyyy", std::nullopt},  // no such day
      {"20230229", "yyyymmdd", std::nullopt},
      {"31-13-2023", "dd-mm-yyyy", std::nullopt},  // month 13
      {"00-01-2023", "dd-mm-yyyy", std::nullopt},
      {"31-04-2023", "dd-mm-yyyy", std::nullopt},
      {"01-01-1989", "dd-mm-yyyy", std::nullopt},  // before the program's years
      {"1-1-2023", "dd-mm-yyyy", std::nullopt},    // does not fit the layout
      {"2023-01-05", "dd-mm-yyyy", std::nullopt},
      {"31012023", "dd-mm-yyyy", std::nullopt},
      {"31-01-2023", "ddmmyyyy", std::nullopt},
      {"31-01-2023 10:00", "dd-mm-yyyy", std::nullopt},
      {"31-0a-2023", "dd-mm-yyyy", std::nullopt},
      {"310120231", "dd-mm-yyyy", std::nullopt},
      {"31-01-2023", "DD-MM-YYYY", std::nullopt},  // no such layout
      {"31-01-2023", "", std::nullopt},
      {"", "yyyymmdd", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(books::journal::ReadStatementDate(c.cell, c.layout), c.ymd) << '[' << c.cell << "] " << c.layout;
}


// ---- Profile ----------------------------------------------------------------

TEST(BankImportProfile, MapsTheProfilesColumns) {
  records::ImportProfileRec profile;
  profile.SetDateColumn(0);
  profile.SetOwnAccountColumn(1);
  profile.SetCounterpartyAccountColumn(2);
  profile.SetAscriptionColumn(3);
  profile.SetDebitCreditColumn(-1);
  profile.SetAmountColumn(5);
  profile.SetNarrativeColumn(1, 6);
  profile.SetNarrativeColumn(2, 9);  // beyond the row
  for (int k = 3; k <= 6; ++k) profile.SetNarrativeColumn(k, -1);

  const Cells cells = {"05-01-2024", "NL01", "", "Zon", "D", "1.234,56", "Invoice 12"};
  const auto fields = books::journal::MapStatementRow(cells, profile);
  books::journal::StatementFields expected;
  expected.date = "05-01-2024";
  expected.ownAccount = "NL01";
  expected.counterpartyAccount = "";
  expected.ascription = "Zon";
  expected.amount = "1.234,56";
  expected.narratives[0] = "Invoice 12";
  EXPECT_EQ(fields, expected);
  EXPECT_FALSE(fields.debitCredit.has_value());   // unused
  EXPECT_FALSE(fields.narratives[1].has_value());  // the row is shorter

  // A short row (a trailing separator, or a missing cell) leaves the later
  // columns out.
  const auto shortRow = books::journal::MapStatementRow({"05-01-2024"}, profile);
  EXPECT_EQ(shortRow.date, "05-01-2024");
  EXPECT_FALSE(shortRow.amount.has_value());
  EXPECT_FALSE(shortRow.ownAccount.has_value());
}

}  // namespace
