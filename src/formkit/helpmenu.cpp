#include "formkit/helpmenu.h"

#include "formkit/website.h"
#include "text/builtintext.h"
#include "ui/application.h"

namespace formkit {

void BindHelpMenu(ui::Form& form, const HelpCaptionBlockRec& captions, std::initializer_list<HelpEntry> entries,
                  ui::Component* homePageItem) {
  for (const HelpEntry& e : entries) {
    e.item->OnClick = [&form, &captions, tag = e.tag] { ShowHelpFrom(form, tag, captions); };
  }
  if (homePageItem)
    homePageItem->OnClick = [&captions] { ui::GetBackend().OpenUrl(HomePageUrl(captions.LanguageName)); };
}

}  // namespace formkit
