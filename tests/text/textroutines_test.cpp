// The amount, date and checksum text routines, and the separators they use.
//
// Most amount cases are written as a comma locale shows them and run in both
// locales: for the point locale every "," and "." of the case (input and
// expected text) is swapped.
#include "text/textroutines.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/numberformat.h"
#include "text/systemsettings.h"
#include "support/reset.h"

namespace {

using platform::ScopedNumberFormat;
using text::SystemSettings;

const std::string kEuro = "\x80";  // the euro sign in code page 1252

// The text of a comma-locale case as the locale of `decimal` shows it.
std::string InLocale(std::string s, char decimal) {
  if (decimal == ',') return s;
  for (char& c : s) c = c == ',' ? '.' : c == '.' ? ',' : c;
  return s;
}

std::string Blanks(size_t n) { return std::string(n, ' '); }

// Amount settings of a fresh administration; the program is reset around
// each case.
class AmountTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    SystemSettings.AmountDecimals = 2;
    SystemSettings.CurrencySign = '\x80';
    SystemSettings.CurrencyInFront = 'F';
    locale_ = std::make_unique<ScopedNumberFormat>(GetParam());
  }
  void TearDown() override { locale_.reset(); }
  char Decimal() const { return GetParam(); }
  std::string L(const std::string& commaText) const { return InLocale(commaText, Decimal()); }

 private:
  support::ProgramState state_;
  std::unique_ptr<ScopedNumberFormat> locale_;
};

INSTANTIATE_TEST_SUITE_P(Locales, AmountTest, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char>& i) {
                           return std::string(i.param == ',' ? "Comma" : "Point");
                         });

// ---------------------------------------------------------------- ParseAmount

struct ParseCase {
  std::string text;  // comma locale
  double value;
};

TEST_P(AmountTest, ParseAmountReadsAmountTexts) {
  const std::vector<ParseCase> cases = {
      {"", 0},
      {"   ", 0},                     // blanks only
      {"\t \r\n", 0},                 // control characters count as blanks
      {kEuro + " 1.234,56", 1234.56},  // sign in front, grouping
      {"1.234,56", 1234.56},
      {"  1.234,56 " + kEuro, 1234.56},  // sign after the amount
      {"-12", -12},
      {kEuro + " -5,00", -5},
      {",5", 0.5},  // a leading decimal separator is kept
      {kEuro + ",5", 0.5},
      {"-,5", -0.5},
      {"12,", 12},
      {",", 0},  // the separator alone reads as "0,"
      {"1.234.567", 1234567},
      {"0", 0},
      {"$12,5", 12.5},
      {"12 345,6", 12345.6},  // inner blanks dropped
      {"0,1", 0.1},
      {"123456789012,34", 123456789012.34},
  };
  for (const ParseCase& c : cases) {
    std::string s = L(c.text);
    SCOPED_TRACE("text '" + s + "'");
    EXPECT_DOUBLE_EQ(text::ParseAmount(s), c.value);
    EXPECT_EQ(text::TryParseAmount(L(c.text)), std::optional<double>(c.value));
  }
}

TEST_P(AmountTest, ParseAmountRejectsTextsWithoutANumber) {
  // Texts the amount filter lets through, and others, that hold no number.
  const std::vector<std::string> bad = {"12-3", "-", "1-", "--5", "1,2,3", "abc", kEuro, kEuro + " ",
                                        "-1,2-", "12,3,"};
  for (const std::string& text : bad) {
    std::string s = L(text);
    SCOPED_TRACE("text '" + s + "'");
    EXPECT_EQ(text::TryParseAmount(s), std::nullopt);
    try {
      text::ParseAmount(s);
      ADD_FAILURE() << "no error";
    } catch (const platform::ConversionError& e) {
      EXPECT_EQ(e.what(), "'" + L(text) + "' is not a valid amount");
    }
  }
}

TEST_P(AmountTest, ParseAmountLeavesTheTrimmedTextWithoutTheSign) {
  std::string s = L("  " + kEuro + "  12,5 ");
  EXPECT_DOUBLE_EQ(text::ParseAmount(s), 12.5);
  EXPECT_EQ(s, L("12,5"));
  std::string empty;
  EXPECT_EQ(text::ParseAmount(empty), 0);
  EXPECT_EQ(empty, "0");
}

TEST_P(AmountTest, ParseAmountReadsLongTextsWhole) {
  // Grouping characters beyond the 100th character still lead to the digit.
  std::string s = L(kEuro + "1" + std::string(110, '.') + "5");
  EXPECT_DOUBLE_EQ(text::ParseAmount(s), 15);
}

TEST(ParseAmountLocale, OtherSeparatorIsTheGroupingCharacter) {
  struct Case {
    char decimal;
    std::string text;
    double value;
  };
  const std::vector<Case> cases = {
      {'.', "1,234.56", 1234.56}, {',', "1.234,56", 1234.56},
      {'.', ",5", 5},  // the grouping character in front is dropped as a sign
      {',', ".5", 5},  {'.', "1,2,3", 123},  {',', "1.2.3", 123},
  };
  for (const Case& c : cases) {
    ScopedNumberFormat locale(c.decimal);
    std::string s = c.text;
    EXPECT_DOUBLE_EQ(text::ParseAmount(s), c.value) << c.text << " with '" << c.decimal << "'";
  }
}

// --------------------------------------------------------------- FormatAmount

struct FormatCase {
  double value;
  int32_t decimals;
  char grouped;
  std::string text;  // comma locale, sign after
};

TEST_P(AmountTest, FormatAmountAlignsWithBlanks) {
  const std::vector<FormatCase> cases = {
      // One blank below a million, one more below a thousand, then two for
      // each character short of 13, one more for a negative value.
      {1234.5, 2, 'Y', Blanks(9) + "1.234,50 " + kEuro},
      {5, 2, 'Y', Blanks(16) + "5,00 " + kEuro},
      {-5, 2, 'Y', Blanks(15) + "-5,00 " + kEuro},
      {5, 2, 'N', Blanks(18) + "5,00 " + kEuro},
      {5, 2, 'y', Blanks(18) + "5,00 " + kEuro},  // only "Y" groups
      {-1234.5, 2, 'Y', Blanks(8) + "-1.234,50 " + kEuro},
      {1234567.891, 2, 'Y', Blanks(2) + "1.234.567,89 " + kEuro},
      {1234567.891, 2, 'N', Blanks(6) + "1234567,89 " + kEuro},
      {999999.999, 2, 'Y', " 1.000.000,00 " + kEuro},  // the blank follows the value, not the text
      {999.999, 2, 'Y', Blanks(2 + 6) + "1.000,00 " + kEuro},
      {0, 0, 'Y', Blanks(22) + "0 " + kEuro},
      {1234.5, 0, 'Y', Blanks(1 + 14) + "1.235 " + kEuro},
      {1234.5, 4, 'Y', Blanks(1 + 4) + "1.234,5000 " + kEuro},
      {12345678901234.5, 2, 'Y', "12.345.678.901.234,50 " + kEuro},
      {12345678901234.56, 2, 'Y', "12.345.678.901.234,56 " + kEuro},
      {-123456789012.5, 2, 'N', " -123456789012,50 " + kEuro},
      // Rounds to zero: no minus, but the extra blank of a negative value.
      {-0.001, 2, 'Y', Blanks(17) + "0,00 " + kEuro},
      {-0.00000001, 2, 'Y', Blanks(16) + "0,00 " + kEuro},
      {-0.4, 0, 'Y', Blanks(23) + "0 " + kEuro},
  };
  for (const FormatCase& c : cases) {
    int32_t decimals = c.decimals;
    std::string text = "old";
    text::FormatAmount(c.value, decimals, c.grouped, text);
    EXPECT_EQ(text, L(c.text)) << c.value << " with " << c.decimals << " decimals";
    EXPECT_EQ(decimals, c.decimals);
    EXPECT_EQ(text::FormatAmount(c.value, c.decimals, c.grouped), L(c.text));
  }
}

TEST_P(AmountTest, FormatAmountRoundsHalfAwayFromZero) {
  struct Case {
    double value;
    int32_t decimals;
    std::string number;  // comma locale
  };
  const std::vector<Case> cases = {
      {0.125, 2, "0,13"},   {1.005, 2, "1,01"},   {2.675, 2, "2,68"},      {-2.675, 2, "-2,68"},
      {0.995, 2, "1,00"},   {1.0049999, 2, "1,00"}, {0.994999999999, 2, "0,99"}, {0.5, 0, "1"},
      {-0.5, 0, "-1"},      {2.5, 0, "3"},        {1.23456, 4, "1,2346"},  {1.00005, 4, "1,0001"},
      {99.995, 2, "100,00"}, {1e-20, 2, "0,00"},  {0.005, 2, "0,01"},      {0.0049, 2, "0,00"},
      {1234567.125, 2, "1234567,13"}, {-1234.445, 2, "-1234,45"}, {0.1 + 0.2, 2, "0,30"},
      // From the shortest text that reads back as the value: 16 significant
      // digits keep their cents, and a value just below a half rounds down.
      {12345678901234.56, 2, "12345678901234,56"}, {-12345678901234.56, 2, "-12345678901234,56"},
      {std::nextafter(1.005, 0.0), 2, "1,00"},  // reads back as 1.0049999999999999
      {std::nextafter(2.675, 3.0), 2, "2,68"},  {1234567890123.455, 2, "1234567890123,46"},
  };
  for (const Case& c : cases) {
    std::string text = text::FormatAmount(c.value, c.decimals, 'N');
    const std::string tail = " " + kEuro;
    ASSERT_EQ(text.substr(text.size() - tail.size()), tail);
    text.erase(text.size() - tail.size());
    text.erase(0, text.find_first_not_of(' '));
    EXPECT_EQ(text, L(c.number)) << c.value << " with " << c.decimals << " decimals";
  }
}

TEST(RoundedAmountDigits, RoundsTheShortestTextHalfAwayFromZero) {
  struct Case {
    double value;
    int decimals;
    const char* digits;
  } cases[] = {
      {0, 2, "0"},          {-0.0, 2, "0"},          {std::nan(""), 2, "0"},  {1.005, 2, "101"},
      {-1.005, 2, "101"},   {2.675, 2, "268"},       {0.004, 2, "0"},         {0.005, 2, "1"},
      {1234.5, 0, "1235"},  {1234.5, 4, "12345000"}, {9.995, 2, "1000"},      {1e20, 2, "10000000000000000000000"},
      {12345678901234.56, 2, "1234567890123456"},
      {0.1 + 0.2, 17, "30000000000000004"},  // the whole shortest text when Decimals reach it
  };
  for (const auto& c : cases)
    EXPECT_EQ(text::RoundedAmountDigits(c.value, c.decimals), c.digits) << c.value << " with " << c.decimals;
}

TEST_P(AmountTest, FormatAmountTakesTheSettings) {
  SystemSettings.AmountDecimals = 3;
  SystemSettings.CurrencyInFront = 'T';
  SystemSettings.CurrencySign = '$';
  int32_t decimals = -1;
  std::string text;
  text::FormatAmount(1234.5, decimals, 'Y', text);
  EXPECT_EQ(decimals, 3);  // written back
  EXPECT_EQ(text, L("$ " + Blanks(1 + 6) + "1.234,500"));
}

// ----------------------------------------------------------- ReformatAmount

TEST_P(AmountTest, ReformatAmountFormatsTheParsedText) {
  std::string s = L("1234,5");
  text::ReformatAmount(s);
  EXPECT_EQ(s, L(Blanks(9) + "1.234,50 " + kEuro));

  for (char inFront : {'T', 'F'}) {
    SystemSettings.CurrencyInFront = inFront;
    for (const char* typed : {"-5", "1234567,891", ",5", "0"}) {
      std::string once = L(typed);
      text::ReformatAmount(once);
      std::string twice = once;
      text::ReformatAmount(twice);
      EXPECT_EQ(twice, once) << "reformatting '" << typed << "' again, sign in front " << inFront;
    }
  }
}

TEST_P(AmountTest, ReformatAmountKeepsATextItCannotRead) {
  std::string s = L("12-3");
  EXPECT_THROW(text::ReformatAmount(s), platform::ConversionError);
  EXPECT_EQ(s, L("12-3"));
}

// -------------------------------------------------------- FilterAmountInput

struct FilterCase {
  int16_t decimals;
  std::string typed;  // comma locale
  std::string kept;
};

TEST_P(AmountTest, FilterAmountInputCleansTheEdit) {
  const std::vector<FilterCase> cases = {
      {2, "  12,345", "  12,34"},  // at most two decimals
      {2, "12.3,4,5", "123,45"},   // grouping character and a second separator dropped
      {2, ",5", "5"},              // no separator as the first character
      {2, ".5", "5"},
      {2, "  ,5", "  ,5"},  // after blanks it is not the first character
      {2, " ", ""},
      {2, "   ", "   "},
      {2, "", ""},
      {2, "a1b2" + kEuro, "12"},
      {2, "1 2", "12"},   // blanks after the first character are dropped
      {2, "12-3", "12-3"},  // "-" is kept wherever it is typed
      {2, "1,-56", "1,-5"},  // and counts as a decimal after the separator
      {2, "12,3,4", "12,34"},
      {0, "12,345", "12,345"},  // 0 decimals: the separator stays, the digits are not limited
      {0, "1,2,3", "1,23"},
      {4, "1,23456", "1,2345"},
      {2, " 1.234,567", " 1234,56"},
  };
  for (const FilterCase& c : cases) {
    SystemSettings.AmountDecimals = c.decimals;
    std::string s = L(c.typed);
    text::FilterAmountInput(s, false);
    EXPECT_EQ(s, L(c.kept)) << "'" << L(c.typed) << "' with " << c.decimals << " decimals";
  }
}

TEST_P(AmountTest, FilterAmountInputSkipLeavesTheText) {
  std::string s = L("12.3,4,5 x");
  text::FilterAmountInput(s, true);
  EXPECT_EQ(s, L("12.3,4,5 x"));
}

// -------------------------------------------------------------- KeepDigits

TEST(KeepDigits, KeepsDigitsAndALeadingMinus) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"-12a3-", "-123"}, {"a-1", "1"}, {"", ""}, {"--5", "-5"}, {"12,50", "1250"}, {"-", "-"}, {"abc", ""},
  };
  for (const auto& [in, out] : cases) {
    std::string s = in;
    text::KeepDigits(s);
    EXPECT_EQ(s, out) << "'" << in << "'";
  }
}

// ------------------------------------------------------------------- Dates

TEST(YmdText, DateToYmdAndBack) {
  const platform::TDateTime d = platform::EncodeDate(2008, 3, 5);
  std::string s = "old";
  text::DateToYmd(d + 0.75, s);  // the time of day is ignored
  EXPECT_EQ(s, "20080305");
  EXPECT_EQ(text::YmdToDate(s), d);
  EXPECT_EQ(text::DateToYmd(platform::EncodeDate(1999, 12, 31)), "19991231");
  EXPECT_EQ(text::DateToYmd(platform::EncodeDate(2200, 1, 1)), "22000101");
}

TEST(YmdText, YmdToDateRejectsTextsThatAreNoDate) {
  for (const char* text : {"20080230", "21000229", "20081301", "20080000", "2008O101", "", "2008", "abcdefgh"}) {
    try {
      text::YmdToDate(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const platform::ConversionError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid date");
    }
  }
}

TEST(YmdText, IsValidYmd) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"19891231", false}, {"19900101", true},  {"22001231", true},  {"22010101", false},
      {"20080229", true},  {"20090229", false}, {"20000229", true},  {"21000229", false},
      {"22000229", false}, {"20080430", true},  {"20080431", false}, {"20080131", true},
      {"20080132", false}, {"20081301", false}, {"20080001", false}, {"20080100", false},
      {"2008031", false},  {"200803051", false}, {"2008O101", false}, {"2008-3-5", false},
      {"", false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(text::IsValidYmd(text), valid) << "'" << text << "'";
}

TEST(YmdText, EveryValidTextIsADate) {
  // What IsValidYmd accepts, YmdToDate must read, and nothing else.
  char buf[16];
  for (int y = 1990; y <= 2200; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= 31; ++d) {
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
        platform::TDateTime t;
        ASSERT_EQ(text::IsValidYmd(buf), platform::TryEncodeDate(y, m, d, t)) << buf;
      }
}

// ----------------------------------------------------------------- LastPos

TEST(LastPos, FindsTheLastOccurrence) {
  struct Case {
    std::string sub, s;
    int32_t pos;
  };
  const std::vector<Case> cases = {
      {"ab", "xabyab", 5}, {"ab", "xyz", 0},   {"abcd", "abc", 0}, {"abc", "abc", 1},
      {"aa", "aaa", 2},    {"b", "abcb", 4},   {"/", "a/b/c", 4},  {"", "abc", 0},
      {"a", "", 0},        {"ba", "abab", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(text::LastPos(c.sub, c.s), c.pos) << c.sub << " in " << c.s;
}

// ---------------------------------------------------------- StringChecksum

TEST(StringChecksum, WorkedVectors) {
  struct Case {
    std::string password, salt;
    int32_t sum;
  };
  const std::vector<Case> cases = {
      {"kestal", "05-03-2008 14:02:33", 14460},
      {"", "05-03-2008 14:02:33", 17086},  // 13 * '0' + 12841 + 71 * '3'
      {"kestal", "5-3-2008 14:02:33", 10631},  // 17 characters: the 18th counts 0
      {"", "", 12841},
      {"\xE9", "05-03-2008 14:02:33", 17086 + (0xE9 + 35) * -7},  // bytes count 0 to 255
  };
  for (const Case& c : cases) {
    int32_t sum = 1;
    text::StringChecksum(c.password, c.salt, sum);
    EXPECT_EQ(sum, c.sum) << "'" << c.password << "' with '" << c.salt << "'";
    EXPECT_EQ(text::StringChecksum(c.password, c.salt), c.sum);
  }
}

TEST(StringChecksum, LongPasswordWrapsAround32Bits) {
  std::string password;
  for (int i = 0; i < 5000; ++i) password += static_cast<char>(0x80 + i % 120);
  const std::string salt = "31-12-2099 23:59:59";
  // The same sum in 64 bits, cut to 32.
  const int64_t weights[4] = {-7, 8, -5, 2};
  int64_t wide = 13 * int64_t{'9'} + 12841 + 71 * int64_t{'5'};
  for (size_t i = 1; i <= password.size(); ++i) {
    const int64_t w = weights[(i - 1) % 4];
    wide += (static_cast<unsigned char>(password[i - 1]) - 5 * w) * (w * static_cast<int64_t>(i));
  }
  ASSERT_GT(std::abs(wide), int64_t{1} << 31);  // the sum did overflow
  EXPECT_EQ(text::StringChecksum(password, salt), static_cast<int32_t>(static_cast<uint32_t>(wide)));
}

// ----------------------------------------------------------- NumberFormat

TEST(NumberFormat, OnlyTwoPairs) {
  using platform::NumberFormat;
  EXPECT_EQ(platform::NumberFormatFromDecimalPoint("."), (NumberFormat{'.', ','}));
  EXPECT_EQ(platform::NumberFormatFromDecimalPoint(","), (NumberFormat{',', '.'}));
  EXPECT_EQ(platform::NumberFormatFromDecimalPoint("\xD9\xAB"), (NumberFormat{',', '.'}));  // any other
}

TEST(NumberFormat, TheCLocaleGivesThePoint) {
  ASSERT_FALSE(platform::NumberFormatOverride());
  EXPECT_EQ(platform::DecimalSeparator(), '.');
  EXPECT_EQ(platform::ThousandSeparator(), ',');
}

TEST(NumberFormat, SystemLocaleIsRead) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "nl_NL.UTF-8"))
    GTEST_SKIP() << "no comma locale installed";
  const platform::NumberFormat nf = platform::CurrentNumberFormat();
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(nf, (platform::NumberFormat{',', '.'}));
}

TEST(NumberFormat, GuardsNestAndRestore) {
  {
    ScopedNumberFormat comma(',');
    EXPECT_EQ(platform::CurrentNumberFormat(), (platform::NumberFormat{',', '.'}));
    {
      ScopedNumberFormat point('.');
      EXPECT_EQ(platform::DecimalSeparator(), '.');
    }
    EXPECT_EQ(platform::DecimalSeparator(), ',');
    EXPECT_THROW(ScopedNumberFormat bad(';'), std::invalid_argument);
    EXPECT_EQ(platform::DecimalSeparator(), ',');
  }
  EXPECT_FALSE(platform::NumberFormatOverride());
  EXPECT_FALSE(platform::SetNumberFormatOverride(' '));
  EXPECT_FALSE(platform::NumberFormatOverride());
  EXPECT_TRUE(platform::SetNumberFormatOverride(','));
  EXPECT_EQ(platform::ThousandSeparator(), '.');
  platform::ClearNumberFormatOverride();
  EXPECT_FALSE(platform::NumberFormatOverride());
}

}  // namespace
