// The record field codecs and the record pattern, against golden bytes.
#include "records/codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A record type written the way the owners write theirs: 24 bytes with a
// string, a Boolean, a Char, a pad, an int16, an int32 and a double.
struct SampleRec : records::Record<24> {
  static constexpr records::ShortString kName{0, 5};  // bytes 0..5
  static constexpr records::Boolean kActive{6};
  static constexpr records::Char kKind{7};
  static constexpr records::Int16 kYear{8};
  static constexpr records::Int32 kCount{12};
  static constexpr records::Double kAmount{16};

  std::string Name() const { return Get<kName>(); }
  void SetName(std::string_view v) { Set<kName>(v); }
  bool Active() const { return Get<kActive>(); }
  void SetActive(bool v) { Set<kActive>(v); }
  char Kind() const { return Get<kKind>(); }
  void SetKind(char v) { Set<kKind>(v); }
  std::int16_t Year() const { return Get<kYear>(); }
  void SetYear(std::int16_t v) { Set<kYear>(v); }
  std::int32_t Count() const { return Get<kCount>(); }
  void SetCount(std::int32_t v) { Set<kCount>(v); }
  double Amount() const { return Get<kAmount>(); }
  void SetAmount(double v) { Set<kAmount>(v); }
};
static_assert(sizeof(SampleRec) == 24);

// Fields outside the record or off their alignment do not compile.
static_assert(records::FieldFits<24, records::Double{16}>());
static_assert(!records::FieldFits<24, records::Double{20}>());
static_assert(!records::FieldFits<24, records::Int32{14}>());
static_assert(!records::FieldFits<24, records::Int16{9}>());
static_assert(!records::FieldFits<24, records::ShortString{20, 4}>());
static_assert(records::FieldFits<24, records::ShortString{19, 4}>());

TEST(ShortStringTest, StoresLengthAndBytesAndCutsAtCapacity) {
  struct Case {
    std::string value;
    Bytes expected;  // the 6 bytes of a string[5] over a buffer of 0xEE
  };
  const std::vector<Case> cases = {
      {"", {0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
      {"ab", {2, 'a', 'b', 0xEE, 0xEE, 0xEE}},
      {"abcde", {5, 'a', 'b', 'c', 'd', 'e'}},
      {"abcdefgh", {5, 'a', 'b', 'c', 'd', 'e'}},
      {"\x80x", {2, 0x80, 'x', 0xEE, 0xEE, 0xEE}},  // code page bytes as they are
  };
  for (const Case& c : cases) {
    Bytes buf(6, 0xEE);
    records::WriteShortString(buf.data(), 5, c.value);
    EXPECT_EQ(buf, c.expected) << c.value;
  }
}

TEST(ShortStringTest, ReadingClampsALengthByteBeyondTheCapacity) {
  const Bytes buf = {200, 'a', 'b', 'c', 'd', 'e', 'X', 'Y'};
  EXPECT_EQ(records::ReadShortString(buf.data(), 5), "abcde");
  const Bytes shorter = {2, 'a', 'b', 'c', 'd', 'e'};
  EXPECT_EQ(records::ReadShortString(shorter.data(), 5), "ab");
}

TEST(ShortStringTest, BytesAfterTheLengthKeepWhatTheBufferHeld) {
  Bytes buf(6, 0);
  records::WriteShortString(buf.data(), 5, "hello");
  records::WriteShortString(buf.data(), 5, "hi");
  EXPECT_EQ(buf, (Bytes{2, 'h', 'i', 'l', 'l', 'o'}));
  EXPECT_EQ(records::ReadShortString(buf.data(), 5), "hi");
}

// An empty view without data (std::string_view{}) writes length 0 and
// touches nothing else (the sanitizer build checks the copy).
TEST(ShortStringTest, AnEmptyViewWithoutDataWritesLengthZero) {
  Bytes buf{3, 'a', 'b', 'c'};
  records::WriteShortString(buf.data(), 3, std::string_view{});
  EXPECT_EQ(buf, (Bytes{0, 'a', 'b', 'c'}));
}

TEST(NumberCodecTest, LittleEndianGoldenBytes) {
  Bytes b(8, 0);
  records::WriteInt16(b.data(), -2);
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 2), (Bytes{0xFE, 0xFF}));
  EXPECT_EQ(records::ReadInt16(b.data()), -2);

  records::WriteInt32(b.data(), 0x12345678);
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 4), (Bytes{0x78, 0x56, 0x34, 0x12}));
  records::WriteInt32(b.data(), -100000);
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 4), (Bytes{0x60, 0x79, 0xFE, 0xFF}));
  EXPECT_EQ(records::ReadInt32(b.data()), -100000);

  records::WriteDouble(b.data(), 1.5);
  EXPECT_EQ(b, (Bytes{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
  records::WriteDouble(b.data(), -1234.56);
  EXPECT_EQ(b, (Bytes{0x0A, 0xD7, 0xA3, 0x70, 0x3D, 0x4A, 0x93, 0xC0}));
  EXPECT_EQ(records::ReadDouble(b.data()), -1234.56);
}

TEST(RecordTest, FieldsLieAtTheirOffsets) {
  SampleRec r;
  r.SetName("Acme!!");
  r.SetActive(true);
  r.SetKind('Y');
  r.SetYear(2008);
  r.SetCount(-1);
  r.SetAmount(1.5);
  const Bytes expected = {5,    'A',  'c',  'm',  'e', '!', 1,    'Y',   // name, flag, kind
                          0xD8, 0x07, 0,    0,                          // year, pad
                          0xFF, 0xFF, 0xFF, 0xFF,                       // count
                          0,    0,    0,    0,    0,   0,   0xF8, 0x3F};  // amount
  EXPECT_EQ(Bytes(r.Bytes.begin(), r.Bytes.end()), expected);
  EXPECT_EQ(r.Name(), "Acme!");
  EXPECT_TRUE(r.Active());
  EXPECT_EQ(r.Kind(), 'Y');
  EXPECT_EQ(r.Year(), 2008);
  EXPECT_EQ(r.Count(), -1);
  EXPECT_EQ(r.Amount(), 1.5);
}

TEST(RecordTest, BooleanReadsAnyNonZeroByteAsTrueAndWritesOne) {
  SampleRec r;
  for (std::uint8_t stored : {0, 1, 2, 255}) {
    r.Bytes[6] = stored;
    EXPECT_EQ(r.Active(), stored != 0) << int(stored);
  }
  r.SetActive(true);
  EXPECT_EQ(r.Bytes[6], 1);
  r.SetActive(false);
  EXPECT_EQ(r.Bytes[6], 0);
}

TEST(RecordTest, SettingOneFieldKeepsEveryOtherByte) {
  SampleRec r;
  for (std::size_t i = 0; i < r.Bytes.size(); ++i) r.Bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
  const SampleRec before = r;
  r.SetCount(7);
  for (std::size_t i = 0; i < r.Bytes.size(); ++i) {
    if (i >= 12 && i < 16) continue;
    EXPECT_EQ(r.Bytes[i], before.Bytes[i]) << "byte " << i;
  }
  EXPECT_EQ(r.Count(), 7);
}

}  // namespace
