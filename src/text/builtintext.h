// The messages the program carries itself, for which the language file has
// no field: each exists in Dutch, German and English, and the language in use
// chooses among them by its name. The texts live in the table
// data/language/builtin.tsv, from which the build makes the enum BuiltIn of
// their ids (text/builtinid.h) and their table; a row that misses a
// translation fails the build.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "text/builtinid.h"

namespace text {

// The text `id` for the language in use, by the rule of the three-text
// BuiltInText below.
std::string BuiltInText(BuiltIn id);

// The same with its values put in: %1 is the first of `values`, %2 the
// second and so on, wherever the language places them. A % followed by
// anything else, or by a number with no value, stays as it stands.
std::string BuiltInText(BuiltIn id, std::initializer_list<std::string_view> values);

// The English text `id`, whatever the language in use: what a message shows
// before the language routine has run.
const char* BuiltInTextEnglish(BuiltIn id);

// `pattern` with %1 ... %9 replaced by `values` as BuiltInText does.
std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values);

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
