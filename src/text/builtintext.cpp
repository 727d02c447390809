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

namespace {
// The language file's text at `offset`, or `fallback` when it is empty.
std::string LanguageTextOr(int offset, std::string fallback) {
  std::string text = L(offset);
  return text.empty() ? fallback : text;
}
}  // namespace

std::string TutorialCaption() { return LanguageTextOr(8296, BuiltInText("Tutorial", "Handleiding", "Anleitung")); }
std::string ChangedByCaption() {
  return LanguageTextOr(2095, BuiltInText("Changed by", "Gewijzigd door", cp1252::L("Geändert von")));
}
std::string ChangedAtCaption() { return BuiltInText("Changed at", "Gewijzigd op", cp1252::L("Geändert am")); }

std::string MsgChangedInAnotherCopy() {
  return BuiltInText("The file was changed in another copy of the program; open the form again",
                     "Het bestand is in een ander exemplaar van het programma gewijzigd; open het scherm opnieuw",
                     cp1252::L("Die Datei wurde in einer anderen Kopie des Programms geändert; öffnen Sie das "
                               "Fenster erneut"));
}

}  // namespace text
