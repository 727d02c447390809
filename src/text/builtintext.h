// The few messages the program carries itself, for which the language file
// has no field: each exists in Dutch, German and English, and the language
// in use chooses among them by its name.
#pragma once

#include <string>
#include <string_view>

namespace text {

// The text for the language name of CurrentLanguage: "Nederlands" `dutch`,
// "Deutsch" `german`, any other language (French too) `english`. The name is
// compared exactly (code page 1252 bytes, case counts), as the language file
// keys its records. All three are code page 1252 texts: a source literal
// with characters beyond ASCII goes through cp1252::L.
std::string BuiltInText(std::string_view english, std::string_view dutch, std::string_view german);

// Captions several forms share, in the language in use: the help menu's
// tutorial item, and the "changed by" and "changed at" labels and headings
// of the stamps every record carries. The language file's text where it has
// one, else the program's own.
std::string TutorialCaption();
std::string ChangedByCaption();
std::string ChangedAtCaption();

// "The file was changed in another copy of the program; open the form
// again": what a Save that would overwrite another copy's work says instead.
std::string MsgChangedInAnotherCopy();

}  // namespace text
