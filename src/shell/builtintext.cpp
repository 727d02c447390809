#include "shell/builtintext.h"

#include "shell/languagefile.h"

namespace shell {

std::string BuiltInText(std::string_view english, std::string_view dutch, std::string_view german) {
  const std::string name = CurrentLanguage.LanguageName();
  if (name == "Nederlands") return std::string(dutch);
  if (name == "Deutsch") return std::string(german);
  return std::string(english);
}

}  // namespace shell
