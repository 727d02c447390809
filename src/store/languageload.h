// Reading the language file through the data-file set: the language file's
// record layout and the buffers it fills are text/languagefile.h; this is the
// one routine that opens the file. It only reads.
#pragma once

#include <optional>
#include <string>

#include "store/scopedfileset.h"
#include "text/languagefile.h"

namespace store {

// Reads the language file (it opens and closes "LAN" through the data-file
// set) into `LanguageBuffer`: the record whose language name equals `name`
// exactly (code page 1252 bytes, case counts); when none does, the file's
// "English" record; when the file has neither (for instance when it is empty
// or was missing and so created empty), the built-in English record. When the
// file cannot be opened, `LanguageBuffer` keeps what it held and the
// failure comes back: the caller shows the data-file set's error text. A
// read error raises platform::IoError after the set was closed again.
std::optional<FileSetFailure> LoadLanguage(const std::string& name);

}  // namespace store
