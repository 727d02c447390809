// The help entries every form carries (help topics in the Help menu and on
// a tool button, the product's home page): one call binds them all.
#pragma once

#include <initializer_list>
#include <string>

#include "formkit/helpunit.h"
#include "ui/form.h"

namespace formkit {

// One help entry: the item clicked and the topic it opens ("" the first).
struct HelpEntry {
  ui::Component* item;
  std::string tag;
};

// Binds each entry's click to ShowHelpFrom(form, tag, captions), and the
// home-page item (when given) to the home page in the language of
// `captions`. `captions` is the form unit's own copy and must outlive the
// form.

void BindHelpMenu(ui::Form& form, const HelpCaptionBlockRec& captions, std::initializer_list<HelpEntry> entries,
                  ui::Component* homePageItem = nullptr);

}  // namespace formkit
