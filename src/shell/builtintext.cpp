#include "shell/builtintext.h"

#include "platform/cp1252.h"
#include "shell/languagefile.h"

namespace shell {

std::string BuiltInText(std::string_view english, std::string_view dutch, std::string_view german) {
  const std::string name = CurrentLanguage.LanguageName();
  if (name == "Nederlands") return std::string(dutch);
  if (name == "Deutsch") return std::string(german);
  return std::string(english);
}

std::string MsgChangedInAnotherCopy() {
  return BuiltInText("The file was changed in another copy of the program; open the form again",
                     "Het bestand is in een ander exemplaar van het programma gewijzigd; open het scherm opnieuw",
                     cp1252::L("Die Datei wurde in einer anderen Kopie des Programms geändert; öffnen Sie das "
                               "Fenster erneut"));
}

}  // namespace shell
