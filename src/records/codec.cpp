#include "records/codec.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace records {

std::string ReadShortString(const std::uint8_t* p, std::size_t capacity) {
  const std::size_t length = std::min<std::size_t>(p[0], capacity);
  return std::string(reinterpret_cast<const char*>(p + 1), length);
}

void WriteShortString(std::uint8_t* p, std::size_t capacity, std::string_view value) {
  const std::size_t length = std::min(value.size(), capacity);
  p[0] = static_cast<std::uint8_t>(length);
  // An empty view may have no data at all: memcpy must not see its null.
  if (length > 0) std::memcpy(p + 1, value.data(), length);
}

namespace {

template <class U>
U ReadLittle(const std::uint8_t* p) {
  U v = 0;
  for (std::size_t i = 0; i < sizeof(U); ++i) v |= static_cast<U>(static_cast<U>(p[i]) << (8 * i));
  return v;
}

template <class U>
void WriteLittle(std::uint8_t* p, U v) {
  for (std::size_t i = 0; i < sizeof(U); ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::int16_t ReadInt16(const std::uint8_t* p) { return static_cast<std::int16_t>(ReadLittle<std::uint16_t>(p)); }
void WriteInt16(std::uint8_t* p, std::int16_t v) { WriteLittle<std::uint16_t>(p, static_cast<std::uint16_t>(v)); }
std::int32_t ReadInt32(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadLittle<std::uint32_t>(p)); }
void WriteInt32(std::uint8_t* p, std::int32_t v) { WriteLittle<std::uint32_t>(p, static_cast<std::uint32_t>(v)); }
double ReadDouble(const std::uint8_t* p) { return std::bit_cast<double>(ReadLittle<std::uint64_t>(p)); }
void WriteDouble(std::uint8_t* p, double v) { WriteLittle<std::uint64_t>(p, std::bit_cast<std::uint64_t>(v)); }

}  // namespace records
