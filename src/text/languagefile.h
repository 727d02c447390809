// The language file: the texts of every form, one record per language.
//
// "vlk010005.lan" (file code LAN, working folder) holds one `LanguageRec` of
// 11354 bytes per language, in any order, keyed by the language name at
// offset 0. A record is a row of short strings at fixed offsets: a length
// byte and that many code page 1252 characters, inside the field's room (the
// bytes up to the next field, so a text holds at most room - 1 characters).
// The offsets and rooms, and the program's built-in English record, are
// generated at build time from data/language/texts.tsv (tools/langgen.cpp),
// the same table the shipped language file is made of.
//
// The program only reads the file. `LoadLanguage` (store/languageload.h) puts the record of a
// language into `LanguageBuffer`; the caller copies it into `CurrentLanguage`
// when the language is to take effect, and the language routine of the start
// screen puts its texts into every form (through text::L, languagetext.h).
// Whatever happens, the buffers never hold blank or other-language texts: a
// language the file does not carry gives its "English" record, and a file
// that cannot serve at all the built-in English record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace text {

constexpr std::size_t kLanguageRecordSize = 11354;
// The name of the record every fallback uses.
constexpr std::string_view kFallbackLanguageName = "English";

// One text field of the record: where it starts and the bytes it may take,
// its length byte included.
struct LanguageField {
  std::uint16_t offset;
  std::uint16_t room;
};

// Generated: the fields in ascending offset order, and the built-in English
// record (the first record of the shipped file, byte for byte).
extern const LanguageField kLanguageFields[];
extern const std::size_t kLanguageFieldCount;
extern const std::uint8_t kBuiltInEnglishRecord[kLanguageRecordSize];

// Whether a text field starts at `offset`.
bool IsLanguageField(std::size_t offset);
// The room of the field at `offset`. An offset where no field starts is a
// fault of the calling code: std::logic_error.
std::size_t LanguageFieldRoom(std::size_t offset);

struct LanguageRec : records::Record<kLanguageRecordSize> {
  static constexpr records::ShortString kLanguageName{0, 20};

  std::string LanguageName() const { return Get<kLanguageName>(); }
  // The text at `offset` (code page 1252). A length byte beyond the field's
  // room - 1, as a damaged file may hold, is taken as room - 1, so a text
  // never runs into the next field. std::logic_error for an offset where no
  // field starts.
  std::string L(std::size_t offset) const;
  // Writes the text at `offset`, cut to room - 1 characters; the other bytes
  // of the field keep what they held.
  void SetL(std::size_t offset, std::string_view text);
};
static_assert(sizeof(LanguageRec) == kLanguageRecordSize);

// The record `LoadLanguage` fills. Starts as the built-in English record.
extern LanguageRec LanguageBuffer;
// The language in use; the language routine reads its texts. Starts as the
// built-in English record, so the forms have texts before any file was read.
extern LanguageRec CurrentLanguage;

// The built-in English record.
const LanguageRec& BuiltInEnglish();

// Puts the built-in English record into `LanguageBuffer` and
// `CurrentLanguage`, as at program start.
void ResetLanguageState();

}  // namespace text
