#include "platform/cp1252.h"

#include <algorithm>
#include <cstring>
#include <cstdint>

namespace cp1252 {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePoint(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) return kHigh[b - 0x80];
  return b;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char FromCodePoint(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string ToUtf8(std::string_view cp) {
  std::string out;
  out.reserve(cp.size());
  for (unsigned char b : cp) AppendUtf8(out, CodePoint(b));
  return out;
}

namespace {

// UTF-8 to CP1252; the offsets in the result of the "?" written for a
// character the code page lacks or a byte that is no UTF-8 go to `lost`.
std::string Decode(std::string_view s, std::vector<std::size_t>* lost) {
  std::string out;
  out.reserve(s.size());
  const auto replaced = [&] {
    if (lost) lost->push_back(out.size());
    out += '?';
  };
  size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
      replaced();
      ++i;
      continue;
    }
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      unsigned char cb = static_cast<unsigned char>(s[i + k]);
      if ((cb & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (cb & 0x3F);
    }
    if (!ok) {
      replaced();
      ++i;
      continue;
    }
    // An overlong form (such as C0 AF for "/") is not valid UTF-8.
    const bool overlong = (len == 2 && c < 0x80) || (len == 3 && c < 0x800) || (len == 4 && c < 0x10000);
    if (overlong || (c != '?' && FromCodePoint(c) == '?'))
      replaced();
    else
      out += FromCodePoint(c);
    i += len;
  }
  return out;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

std::string FromUtf8(std::string_view s) { return Decode(s, nullptr); }

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      cp = b & 0x07;
    } else {
      return false;  // a continuation byte in front, C0/C1, or F5 and above
    }
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000)) return false;  // overlong
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;                                    // surrogate
    if (cp > 0x10FFFF) return false;
    i += length;
  }
  return true;
}

bool IsAscii(std::string_view bytes) {
  // Eight bytes at a time; the high bits of all of them or-ed together.
  std::uint64_t high = 0;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    high |= word;
  }
  for (; i < bytes.size(); ++i) high |= static_cast<unsigned char>(bytes[i]);
  return (high & 0x8080808080808080ull) == 0;
}

DecodedText DecodeTextFile(std::string_view bytes) {
  DecodedText out;
  if (bytes.starts_with(kUtf8Mark)) {
    out.text = Decode(bytes.substr(kUtf8Mark.size()), &out.lost);
    return out;
  }
  if (!IsAscii(bytes) && IsValidUtf8(bytes))
    out.text = Decode(bytes, &out.lost);
  else
    out.text = std::string(bytes);
  return out;
}

char ToUpper(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 32);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<char>(c - 16);  // s, oe, z with caron
  if (c == 0xFF) return static_cast<char>(0x9F);                             // y diaeresis
  return ch;
}

char ToLower(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<char>(c + 16);
  if (c == 0x9F) return static_cast<char>(0xFF);
  return ch;
}

std::string ToUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToUpper(c);
  return out;
}

std::string ToLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToLower(c);
  return out;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(ToUpper(a[i]));
    unsigned char y = static_cast<unsigned char>(ToUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

int CompareOrdinal(std::string_view a, std::string_view b) {
  int r = a.compare(b);  // char_traits<char>::compare is unsigned-byte ordered
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

}  // namespace cp1252
