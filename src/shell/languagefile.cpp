#include "shell/languagefile.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "shell/fileset.h"

namespace shell {
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

std::optional<FileSetFailure> LoadLanguage(const std::string& name) {
  int result = 0;
  OpenFileSet("LAN", result);
  if (result != 0) return FileSetFailure{result, FileErrorText, FileErrorCode};
  LanguageRec rec;
  LanguageRec english;
  bool found = false;
  bool haveEnglish = false;
  try {
    const int count = RecordCount(FileCode::LAN);
    for (int i = 0; i < count && !found; ++i) {
      ReadRecord(FileCode::LAN, i, rec);
      const std::string key = rec.LanguageName();
      if (key == name) {
        found = true;
      } else if (!haveEnglish && key == kFallbackLanguageName) {
        english = rec;
        haveEnglish = true;
      }
    }
  } catch (...) {
    CloseFileSet();
    throw;
  }
  CloseFileSet();
  if (found)
    LanguageBuffer = rec;
  else if (haveEnglish)
    LanguageBuffer = english;
  else
    LanguageBuffer = BuiltInEnglish();
  return std::nullopt;
}

}  // namespace shell
