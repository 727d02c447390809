#include "store/languageload.h"

#include "store/fileset.h"

namespace store {

std::optional<FileSetFailure> LoadLanguage(const std::string& name) {
  int result = 0;
  OpenFileSet("LAN", result);
  if (result != 0) return FileSetFailure{result, FileErrorText, FileErrorCode};
  text::LanguageRec rec;
  text::LanguageRec english;
  bool found = false;
  bool haveEnglish = false;
  try {
    const int count = RecordCount(FileCode::LAN);
    for (int i = 0; i < count && !found; ++i) {
      ReadRecord(FileCode::LAN, i, rec);
      const std::string key = rec.LanguageName();
      if (key == name) {
        found = true;
      } else if (!haveEnglish && key == text::kFallbackLanguageName) {
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
    text::LanguageBuffer = rec;
  else if (haveEnglish)
    text::LanguageBuffer = english;
  else
    text::LanguageBuffer = text::BuiltInEnglish();
  return std::nullopt;
}

}  // namespace store
