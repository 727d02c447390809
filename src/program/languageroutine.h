// The language routine: puts the current language and the current log-in
// into every form.
//
// ApplyLanguage rebuilds the start screen's function tree for the rights of
// the logged-in user, points the data folder at the chosen administration,
// refreshes SystemSettings, fills the master help captions and every form
// unit's copy of them, chooses the web pages of the language and writes
// every caption, heading, item and message text of every form from
// CurrentLanguage. It opens no file and reports nothing; running it again is
// always safe: every step overwrites, nothing accumulates.
#pragma once

#include <string>

#include "ui/controls.h"

namespace program {

// The fixed text of the export and import node (the same in every language).
inline constexpr const char* kExportImportNodeText = "Export & Import data files";

// The help form's two web pages: the product's home page and its news page
// in the language of the help captions. The help form takes them when it is
// built; the start screen's home-page item opens the first.
extern std::string HelpHomePageUrl;
extern std::string HelpNewsPageUrl;

// The function tree for the current rights and user options. Before a
// log-in has succeeded the tree holds its root alone.
void BuildFunctionTree(ui::TreeView& tree);

void ApplyLanguage();

// Empties the unit's globals (the web-page addresses).
void ResetLanguageRoutineState();

}  // namespace program
