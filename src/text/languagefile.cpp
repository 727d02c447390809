#include "text/languagefile.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace text {
namespace {

const LanguageField* FindField(std::size_t offset) {
  const LanguageField* begin = kLanguageFields;
  const LanguageField* end = kLanguageFields + kLanguageFieldCount;
  const LanguageField* it = std::lower_bound(
      begin, end, offset, [](const LanguageField& f, std::size_t o) { return f.offset < o; });
  return it != end && it->offset == offset ? it : nullptr;
}

const LanguageField& FieldAt(std::size_t offset) {
  const LanguageField* f = FindField(offset);
  if (!f) throw std::logic_error("no language text starts at offset " + std::to_string(offset));
  return *f;
}

LanguageRec MakeBuiltInEnglish() {
  LanguageRec rec;
  std::memcpy(rec.data(), kBuiltInEnglishRecord, kLanguageRecordSize);
  return rec;
}

}  // namespace

LanguageRec LanguageBuffer = BuiltInEnglish();
LanguageRec CurrentLanguage = BuiltInEnglish();

void ResetLanguageState() {
  LanguageBuffer = BuiltInEnglish();
  CurrentLanguage = BuiltInEnglish();
}

bool IsLanguageField(std::size_t offset) { return FindField(offset) != nullptr; }

std::size_t LanguageFieldRoom(std::size_t offset) { return FieldAt(offset).room; }

std::string LanguageRec::L(std::size_t offset) const {
  const LanguageField& f = FieldAt(offset);
  return records::ReadShortString(data() + f.offset, f.room - 1u);
}

void LanguageRec::SetL(std::size_t offset, std::string_view text) {
  const LanguageField& f = FieldAt(offset);
  records::WriteShortString(data() + f.offset, f.room - 1u, text);
}

const LanguageRec& BuiltInEnglish() {
  static const LanguageRec rec = MakeBuiltInEnglish();
  return rec;
}

}  // namespace text
