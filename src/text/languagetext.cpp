#include "text/languagetext.h"

#include <cstddef>

#include "text/languagefile.h"

namespace text {

std::string L(int offset) { return CurrentLanguage.L(static_cast<std::size_t>(offset)); }

}  // namespace text
