// Code page 1252, the encoding of every text the program holds: record
// fields, language texts, form texts. Lengths, cuts at N characters, sort
// orders and checksums work on these bytes. This module is the one place that
// converts to and from Unicode (UTF-8), at the toolkit's boundary, for file
// paths and for text files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cp1252 {

// CP1252 bytes to UTF-8. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
std::string ToUtf8(std::string_view cp);
// UTF-8 to CP1252; a character the code page cannot hold, and a byte that is
// not valid UTF-8, becomes "?".
std::string FromUtf8(std::string_view utf8);
// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing beyond U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// A text file's bytes as CP1252 text, whichever of the two encodings the
// file is in: a UTF-8 byte-order mark is dropped and the rest read as UTF-8;
// without the mark, bytes that are valid UTF-8 and hold a byte of 0x80 or
// above are read as UTF-8; anything else is CP1252 as it stands (so a file
// the program wrote itself comes back byte for byte). Where a character the
// code page lacks (or, after the mark, a byte that is no UTF-8) stood, the
// text holds "?", and `lost` the offsets of those "?" in `text`, ascending.
// Whether every byte of `bytes` is below 0x80: such a text reads the same
// in both encodings and needs no decoding.
bool IsAscii(std::string_view bytes);

struct DecodedText {
  std::string text;
  std::vector<std::size_t> lost;
};
DecodedText DecodeTextFile(std::string_view bytes);
// A source literal in UTF-8 as CP1252 bytes (the same as FromUtf8).
inline std::string L(std::string_view utf8) { return FromUtf8(utf8); }

// Case mapping of the code page's letters (ASCII and the Latin-1 letters).
char ToUpper(char c);
char ToLower(char c);
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// Ordinal comparison after upper-casing each byte: <0, 0 or >0.
int CompareIgnoringCase(std::string_view a, std::string_view b);
// Ordinal byte comparison (unsigned bytes): <0, 0 or >0.
int CompareOrdinal(std::string_view a, std::string_view b);

}  // namespace cp1252
