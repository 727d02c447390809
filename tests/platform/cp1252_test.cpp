// Code page 1252: conversion to and from UTF-8, case mapping and ordering.
#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

TEST(Cp1252, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const std::string utf8 = cp1252::ToUtf8(Byte(b));
    EXPECT_EQ(cp1252::FromUtf8(utf8), Byte(b)) << "byte " << b;
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1252::FromUtf8(cp1252::ToUtf8(all)), all);
}

TEST(Cp1252, CharactersOfTheCodePage) {
  struct Case {
    int byte;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {0x41, "A"},
      {0x80, "\xE2\x82\xAC"},  // euro sign
      {0x85, "\xE2\x80\xA6"},  // ellipsis
      {0x8A, "\xC5\xA0"},      // S with caron
      {0x93, "\xE2\x80\x9C"},  // left double quote
      {0x99, "\xE2\x84\xA2"},  // trade mark
      {0x9F, "\xC5\xB8"},      // Y with diaeresis
      {0x81, "\xC2\x81"},      // the undefined bytes stay the C1 control
      {0x9D, "\xC2\x9D"},
      {0xA0, "\xC2\xA0"},
      {0xA3, "\xC2\xA3"},  // pound sign
      {0xE9, "\xC3\xA9"},  // e acute
      {0xFF, "\xC3\xBF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp1252::ToUtf8(Byte(c.byte)), c.utf8) << "byte " << c.byte;
    EXPECT_EQ(cp1252::FromUtf8(c.utf8), Byte(c.byte)) << "byte " << c.byte;
  }
  EXPECT_EQ(cp1252::L("\xE2\x82\xAC 12,50"), "\x80 12,50");
}

TEST(Cp1252, UnmappableAndInvalidBecomeQuestionMarks) {
  struct Case {
    std::string utf8;
    std::string cp;
  };
  const std::vector<Case> cases = {
      {"\xCE\xA9", "?"},               // Greek capital omega
      {"\xC4\x81", "?"},               // a with macron
      {"\xE4\xB8\xAD", "?"},           // a CJK character
      {"a\xF0\x9F\x98\x80" "b", "a?b"},  // outside the basic plane
      {"\x80", "?"},                   // a continuation byte alone
      {"ab\xC3", "ab?"},               // cut at the end
      {"\xE2\x82" "A", "??A"},         // cut before another character
      {"a\xC0\xAF" "b", "a?b"},        // overlong "/"
      {"\xE0\x82\xAC", "?"},           // overlong byte 0xAC
      {"\xC1\xBF", "?"},               // overlong DEL
      {"\xED\xA0\x80", "?"},           // a surrogate
      {"\xF4\x90\x80\x80", "?"},       // beyond U+10FFFF
      {"\xF8\x88\x80\x80\x80", "?????"},  // no such lead byte
      {"\xFF", "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(cp1252::FromUtf8(c.utf8), c.cp) << "'" << c.utf8 << "'";
}

TEST(Cp1252, CaseMapping) {
  struct Case {
    int lower, upper;
  };
  const std::vector<Case> pairs = {{'a', 'A'},   {'z', 'Z'},   {0xE0, 0xC0}, {0xE9, 0xC9}, {0xFE, 0xDE},
                                   {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
  for (const Case& c : pairs) {
    EXPECT_EQ(cp1252::ToUpper(static_cast<char>(c.lower)), static_cast<char>(c.upper)) << c.lower;
    EXPECT_EQ(cp1252::ToLower(static_cast<char>(c.upper)), static_cast<char>(c.lower)) << c.upper;
  }
  // No case: sharp s, the multiplication and division signs, micro, digits.
  for (int b : {0xDF, 0xD7, 0xF7, 0xB5, int{'1'}, int{' '}, 0x80, 0x83}) {
    EXPECT_EQ(cp1252::ToUpper(static_cast<char>(b)), static_cast<char>(b)) << b;
    EXPECT_EQ(cp1252::ToLower(static_cast<char>(b)), static_cast<char>(b)) << b;
  }
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(cp1252::ToUpper(cp1252::ToUpper(c)), cp1252::ToUpper(c)) << b;
    EXPECT_EQ(cp1252::ToUpper(cp1252::ToLower(c)), cp1252::ToUpper(c)) << b;
  }
  EXPECT_EQ(cp1252::ToUpper(cp1252::L("Crème brûlée")), cp1252::L("CRÈME BRÛLÉE"));
  EXPECT_EQ(cp1252::ToLower(cp1252::L("ŠKODA Œuvre")), cp1252::L("škoda œuvre"));
}

TEST(Cp1252, ComparisonsIgnoringCase) {
  EXPECT_TRUE(cp1252::EqualsIgnoringCase(cp1252::L("Crème"), cp1252::L("CRÈME")));
  EXPECT_FALSE(cp1252::EqualsIgnoringCase("abc", "abcd"));
  EXPECT_FALSE(cp1252::EqualsIgnoringCase(cp1252::L("é"), "e"));
  EXPECT_EQ(cp1252::CompareIgnoringCase("abc", "ABD"), -1);
  EXPECT_EQ(cp1252::CompareIgnoringCase("ABC", "abc"), 0);
  EXPECT_EQ(cp1252::CompareIgnoringCase("ab", "ABC"), -1);
  EXPECT_EQ(cp1252::CompareIgnoringCase(cp1252::L("é"), "Z"), 1);  // E acute (0xC9) after Z
}

TEST(Cp1252, OrdinalOrderIsByUnsignedBytes) {
  struct Case {
    std::string a, b;
    int order;
  };
  const std::vector<Case> cases = {
      {"a", "b", -1},        {"b", "a", 1},           {"abc", "abc", 0},      {"ab", "abc", -1},
      {"\x80", "z", 1},      {"\xE9", "\x7F", 1},     {"\xFF", "\xFE", 1},    {"Z", "a", -1},
      {"a\x80", "a\x7F", 1}, {std::string("\0", 1), "\x01", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(cp1252::CompareOrdinal(c.a, c.b), c.order) << c.a << " vs " << c.b;
}

// A text file in either encoding: UTF-8 only with its mark or when valid
// UTF-8 beyond ASCII throughout; the places of the characters lost to "?".
TEST(Cp1252, ATextFileIsDecodedByItsEncodingAndTellsWhatWasLost) {
  struct Case {
    std::string bytes;
    std::string text;
    std::vector<std::size_t> lost;
  } cases[] = {
      {"plain ?", "plain ?", {}},
      {"caf\xE9 \x80 \x81", "caf\xE9 \x80 \x81", {}},                         // code page 1252 as it stands
      {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80", {}},                       // UTF-8 without the mark
      {"\xEF\xBB\xBF" "a;b", "a;b", {}},                                     // the mark dropped
      {"a \xE2\x86\x92 b \xE2\x86\x92", "a ? b ?", {2, 6}},                  // an arrow, twice
      {"\xEF\xBB\xBF" "\xC3\xA9\xFF?", "\xE9??", {1}},                       // after the mark: a bad byte
      {"\xC3\xA9\xFF", "\xC3\xA9\xFF", {}},                                  // not UTF-8: as it stands
  };
  for (const Case& c : cases) {
    const cp1252::DecodedText decoded = cp1252::DecodeTextFile(c.bytes);
    EXPECT_EQ(decoded.text, c.text) << c.bytes;
    EXPECT_EQ(decoded.lost, c.lost) << c.bytes;
  }
  EXPECT_TRUE(cp1252::IsValidUtf8(""));
  EXPECT_FALSE(cp1252::IsValidUtf8("\xC3x"));
}

}  // namespace

TEST(Cp1252, AsciiIsToldByEveryByteWhereverItStands) {
  // A high byte found in the eight-byte words and in the bytes after them.
  const std::string plain = "Seventeen plain b";  // 17 bytes: two words and one more
  EXPECT_TRUE(cp1252::IsAscii(""));
  EXPECT_TRUE(cp1252::IsAscii(plain));
  EXPECT_TRUE(cp1252::IsAscii(std::string(1, '\x7F')));
  for (std::size_t at = 0; at < plain.size(); ++at) {
    for (const char high : {'\x80', '\xE9', '\xFF'}) {
      std::string text = plain;
      text[at] = high;
      EXPECT_FALSE(cp1252::IsAscii(text)) << "byte " << at;
      EXPECT_FALSE(cp1252::IsAscii(std::string_view(text).substr(at))) << "from byte " << at;
    }
  }
}
