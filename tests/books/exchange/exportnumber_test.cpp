// The number texts of the ";"-separated data files: the double writer, the
// double and integer readers, under both decimal separators.
#include "books/exchange/exportnumber.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include "platform/numberformat.h"

namespace {

using books::exchange::FormatExportNumber;
using books::exchange::ReadExportInteger;
using books::exchange::ReadExportNumber;

// Texts as written with ","; the point separator swaps it for ".".
struct WriteCase {
  double value;
  const char* text;
};

const WriteCase kWriteCases[] = {
    {0.0, "0"},
    {-0.0, "0"},
    {1234.5, "1234,5"},
    {-0.5, "-0,5"},
    {100.0, "100"},
    {0.1 + 0.2, "0,3"},  // 15 digits hide the binary error
    {1.0 / 3.0, "0,333333333333333"},
    {2.0 / 3.0, "0,666666666666667"},
    {123456.789, "123456,789"},
    {0.0001, "0,0001"},
    {0.00001, "0,00001"},  // the smallest fixed magnitude
    {0.000015, "0,000015"},
    {9.999999999999999e-6, "0,00001"},  // rounds up into fixed notation
    {0.0000015, "1,5E-6"},
    {1.5e-6, "1,5E-6"},
    {-1e-7, "-1E-7"},
    {999999999999999.0, "999999999999999"},  // the largest fixed magnitude
    {999999999999999.9, "1E15"},            // rounds up out of it
    {1e15, "1E15"},
    {-1e15, "-1E15"},
    {9999999999999999.0, "1E16"},
    {123456789012345678.0, "1,23456789012346E17"},
    {-2.5e20, "-2,5E20"},
    {1e-300, "1E-300"},
    {DBL_MAX, "1,79769313486231E308"},  // cut, not rounded past the largest double
    {-DBL_MAX, "-1,79769313486231E308"},
    {4.94065645841247e-324, "4,94065645841247E-324"},  // the smallest subnormal
};

std::string WithSeparator(std::string text, char separator) {
  for (char& c : text)
    if (c == ',') c = separator;
  return text;
}

TEST(ExportNumber, WritesTheTableUnderBothSeparators) {
  for (char sep : {',', '.'}) {
    for (const WriteCase& c : kWriteCases) {
      SCOPED_TRACE(std::string("separator ") + sep + ", expected " + c.text);
      EXPECT_EQ(FormatExportNumber(c.value, sep), WithSeparator(c.text, sep));
    }
  }
}

TEST(ExportNumber, WritesWithTheSeparatorInForce) {
  {
    platform::ScopedNumberFormat comma(',');
    EXPECT_EQ(FormatExportNumber(1234.5), "1234,5");
    EXPECT_EQ(ReadExportNumber("1234,5"), 1234.5);
    EXPECT_EQ(ReadExportNumber("1234.5"), std::nullopt);
  }
  platform::ScopedNumberFormat point('.');
  EXPECT_EQ(FormatExportNumber(1234.5), "1234.5");
  EXPECT_EQ(ReadExportNumber("1234.5"), 1234.5);
  EXPECT_EQ(ReadExportNumber("1234,5"), std::nullopt);
}

TEST(ExportNumber, HasNoTextForNanOrInfinity) {
  EXPECT_EQ(FormatExportNumber(std::numeric_limits<double>::quiet_NaN(), '.'), std::nullopt);
  EXPECT_EQ(FormatExportNumber(std::numeric_limits<double>::infinity(), '.'), std::nullopt);
  EXPECT_EQ(FormatExportNumber(-std::numeric_limits<double>::infinity(), ','), std::nullopt);
}

TEST(ExportNumber, IgnoresTheCLocaleOfTheProcess) {
  // A comma locale for C's own formatting must not leak into the text.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "nl_NL.UTF-8"))
    GTEST_SKIP() << "no comma locale installed";
  EXPECT_EQ(FormatExportNumber(1234.5, '.'), "1234.5");
  EXPECT_EQ(FormatExportNumber(1.5e-6, '.'), "1.5E-6");
  EXPECT_EQ(ReadExportNumber("1.5", '.'), 1.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

// What the writer writes reads back, as a value that writes the same text
// (15 digits do not hold every double).
TEST(ExportNumber, ReadsBackWhatItWrites) {
  for (char sep : {',', '.'}) {
    for (const WriteCase& c : kWriteCases) {
      const auto text = FormatExportNumber(c.value, sep);
      ASSERT_TRUE(text);
      const auto back = ReadExportNumber(*text, sep);
      ASSERT_TRUE(back) << *text;
      EXPECT_EQ(FormatExportNumber(*back, sep), *text);
    }
  }
}

struct ReadCase {
  const char* text;  // with "," as separator; the point run swaps it
  std::optional<double> value;
};

const ReadCase kReadCases[] = {
    {"1234,5", 1234.5},
    {"-0,5", -0.5},
    {"+3", 3.0},
    {",5", 0.5},
    {"5,", 5.0},
    {"1E15", 1e15},
    {"1e+15", 1e15},  // C's forms
    {"1e-05", 1e-5},
    {"1,5E-6", 1.5e-6},
    {"-2,5E20", -2.5e20},
    {"1E-400", 0.0},  // below the smallest subnormal: 0, as C reads it
    {"", std::nullopt},
    {"-", std::nullopt},
    {",", std::nullopt},
    {"E5", std::nullopt},
    {"1E", std::nullopt},
    {"1e+", std::nullopt},
    {" 1", std::nullopt},
    {"1 ", std::nullopt},
    {"1,2,3", std::nullopt},
    {"12a", std::nullopt},
    {"NaN", std::nullopt},
    {"nan", std::nullopt},
    {"inf", std::nullopt},
    {"-Infinity", std::nullopt},
    {"1E400", std::nullopt},
    {"0x10", std::nullopt},
    {"1.000,5", std::nullopt},  // no grouping
};

TEST(ExportNumber, ReadsTheTableUnderBothSeparators) {
  for (char sep : {',', '.'}) {
    for (const ReadCase& c : kReadCases) {
      // In the point run "," and "." of the case trade places.
      std::string swapped = c.text;
      for (char& ch : swapped) ch = ch == ',' ? '.' : ch == '.' ? ',' : ch;
      const std::string input = sep == ',' ? std::string(c.text) : swapped;
      SCOPED_TRACE(std::string("separator ") + sep + ", text \"" + input + "\"");
      EXPECT_EQ(ReadExportNumber(input, sep), c.value);
    }
  }
}

TEST(ExportNumber, RefusesTheOtherSeparator) {
  EXPECT_EQ(ReadExportNumber("1234.5", ','), std::nullopt);
  EXPECT_EQ(ReadExportNumber("1234,5", '.'), std::nullopt);
}

TEST(ExportNumber, ReadsIntegers) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"-12", -12},
      {"+7", 7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"1.0", std::nullopt},
      {"1,0", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"12a", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadExportInteger(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
