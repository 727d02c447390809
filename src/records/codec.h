// Field codecs of the record files, and the pattern every record type
// follows.
//
// A record is a fixed-size byte buffer, read and written whole. Its fields
// lie at fixed offsets; the owner of a record type names each field once as
// a constant and reads and writes it through typed accessors:
//
//   struct ExampleRec : records::Record<16> {
//     static constexpr records::ShortString kName{0, 10};    // bytes 0..10
//     static constexpr records::Boolean kActive{11};
//     static constexpr records::Int32 kCount{12};
//     std::string Name() const { return Get<kName>(); }
//     void SetName(std::string_view v) { Set<kName>(v); }
//     ...
//   };
//   static_assert(sizeof(ExampleRec) == 16);
//
// Get and Set check at compile time that the field lies inside the record
// and sits on its natural alignment (2 for int16, 4 for int32, 8 for a
// double; strings, Booleans and Chars unaligned). Bytes a routine does not
// set keep what the buffer held, so a record read, changed in one field and
// written back keeps every other byte, pads included.
//
// Encodings: string[N] is a length byte and N bytes of code page 1252 text;
// integers and doubles are little-endian; Boolean is one byte (0 false,
// anything else true on reading, 1 on writing); Char is one byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// The raw codecs on a byte buffer.
// string[capacity] at `p`: the stored length byte, clamped to the capacity.
std::string ReadShortString(const std::uint8_t* p, std::size_t capacity);
// Writes the length and the bytes of `value` cut at `capacity`; the bytes
// after the new length keep what they held.
void WriteShortString(std::uint8_t* p, std::size_t capacity, std::string_view value);
std::int16_t ReadInt16(const std::uint8_t* p);
void WriteInt16(std::uint8_t* p, std::int16_t v);
std::int32_t ReadInt32(const std::uint8_t* p);
void WriteInt32(std::uint8_t* p, std::int32_t v);
double ReadDouble(const std::uint8_t* p);
void WriteDouble(std::uint8_t* p, double v);

// Field descriptors: the offset (and a string's capacity) of one field.
struct ShortString {
  std::size_t offset;
  std::size_t capacity;
  static constexpr std::size_t kAlign = 1;
  constexpr std::size_t Size() const { return capacity + 1; }
  std::string Read(const std::uint8_t* rec) const { return ReadShortString(rec + offset, capacity); }
  void Write(std::uint8_t* rec, std::string_view v) const { WriteShortString(rec + offset, capacity, v); }
};

struct Boolean {
  std::size_t offset;
  static constexpr std::size_t kAlign = 1;
  constexpr std::size_t Size() const { return 1; }
  bool Read(const std::uint8_t* rec) const { return rec[offset] != 0; }
  void Write(std::uint8_t* rec, bool v) const { rec[offset] = v ? 1 : 0; }
};

struct Char {
  std::size_t offset;
  static constexpr std::size_t kAlign = 1;
  constexpr std::size_t Size() const { return 1; }
  char Read(const std::uint8_t* rec) const { return static_cast<char>(rec[offset]); }
  void Write(std::uint8_t* rec, char v) const { rec[offset] = static_cast<std::uint8_t>(v); }
};

struct Int16 {
  std::size_t offset;
  static constexpr std::size_t kAlign = 2;
  constexpr std::size_t Size() const { return 2; }
  std::int16_t Read(const std::uint8_t* rec) const { return ReadInt16(rec + offset); }
  void Write(std::uint8_t* rec, std::int16_t v) const { WriteInt16(rec + offset, v); }
};

struct Int32 {
  std::size_t offset;
  static constexpr std::size_t kAlign = 4;
  constexpr std::size_t Size() const { return 4; }
  std::int32_t Read(const std::uint8_t* rec) const { return ReadInt32(rec + offset); }
  void Write(std::uint8_t* rec, std::int32_t v) const { WriteInt32(rec + offset, v); }
};

struct Double {
  std::size_t offset;
  static constexpr std::size_t kAlign = 8;
  constexpr std::size_t Size() const { return 8; }
  double Read(const std::uint8_t* rec) const { return ReadDouble(rec + offset); }
  void Write(std::uint8_t* rec, double v) const { WriteDouble(rec + offset, v); }
};

// A field of a record of `N` bytes lies inside it, on its alignment.
template <std::size_t N, auto F>
constexpr bool FieldFits() {
  return F.offset + F.Size() <= N && F.offset % decltype(F)::kAlign == 0;
}

// The base of every record type: the record's bytes, nothing else, so an
// array of records is the file's bytes.
template <std::size_t N>
struct Record {
  static constexpr std::size_t kSize = N;
  std::array<std::uint8_t, N> Bytes{};

  template <auto F>
  auto Get() const {
    static_assert(FieldFits<N, F>(), "field outside the record or off its alignment");
    return F.Read(Bytes.data());
  }
  template <auto F, class V>
  void Set(const V& v) {
    static_assert(FieldFits<N, F>(), "field outside the record or off its alignment");
    F.Write(Bytes.data(), v);
  }

  std::uint8_t* data() { return Bytes.data(); }
  const std::uint8_t* data() const { return Bytes.data(); }
  // Every byte 0, as a fresh record.
  void Clear() { Bytes.fill(0); }
  friend bool operator==(const Record&, const Record&) = default;
};

}  // namespace records
