#include "text/builtintext.h"

#include "platform/cp1252.h"
#include "text/languagefile.h"
#include "text/languagetext.h"

namespace text {

std::string BuiltInText(std::string_view english, std::string_view dutch, std::string_view german) {
  const std::string name = CurrentLanguage.LanguageName();
  if (name == "Nederlands") return std::string(dutch);
  if (name == "Deutsch") return std::string(german);
  return std::string(english);
}

std::string BuiltInText(BuiltIn id) {
  const char* const* texts = kBuiltInTexts[static_cast<std::size_t>(id)];
  return BuiltInText(texts[0], texts[1], texts[2]);
}

const char* BuiltInTextEnglish(BuiltIn id) { return kBuiltInTexts[static_cast<std::size_t>(id)][0]; }

std::string BuiltInText(BuiltIn id, std::initializer_list<std::string_view> values) {
  return FillPlaceholders(BuiltInText(id), values);
}

std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (n < values.size()) {
        out += values.begin()[n];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

namespace {
// The language file's text at `offset`, or `fallback` when it is empty.
std::string LanguageTextOr(int offset, std::string fallback) {
  std::string text = L(offset);
  return text.empty() ? fallback : text;
}
}  // namespace

std::string TutorialCaption() { return LanguageTextOr(8296, BuiltInText(BuiltIn::Tutorial)); }
std::string ChangedByCaption() {
  return LanguageTextOr(2095, BuiltInText(BuiltIn::ChangedBy));
}
std::string ChangedAtCaption() { return BuiltInText(BuiltIn::ChangedAt); }

std::string MsgChangedInAnotherCopy() {
  return BuiltInText(BuiltIn::FileWasChangedInAnotherCopy);
}

}  // namespace text
