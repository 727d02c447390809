#include "reports/managementcockpit.h"

#include "platform/cp1252.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "store/session.h"

namespace reports {

Tcockpit* cockpit = nullptr;

std::string CockpitNotOfferedText() {
  return text::BuiltInText(text::BuiltIn::CockpitNotOfferedText);
}

Tcockpit::Tcockpit() : ui::Form("cockpit", "Tcockpit") {
  width = 420;
  Label1.SetWordWrap(true);
  Button1.hints.width = 90;
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  Button1.OnClick = [this] { Close(); };
  ApplyTexts();
}

void Tcockpit::ApplyTexts() {
  SetCaption(store::ProductTitle + " : Management cockpit");
  Label1.SetCaption(CockpitNotOfferedText());
  // "OK" is the same word in every language of the language file.
  Button1.SetCaption(text::L(473).empty() ? std::string("OK") : text::L(473));
}

void Tcockpit::FormActivate() { ApplyTexts(); }

void Tcockpit::FormKeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::Escape || key == ui::keys::Return) {
    key = 0;
    Close();
  }
}

}  // namespace reports
