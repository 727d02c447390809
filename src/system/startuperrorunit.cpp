#include "system/startuperrorunit.h"

#include "platform/oserror.h"

namespace systemforms {

std::string StartupErrorText;
int StartupErrorCode = 0;
Tstartuperror* startuperror = nullptr;

void ResetStartupErrorState() {
  StartupErrorText.clear();
  StartupErrorCode = 0;
}

Tstartuperror::Tstartuperror() : ui::Form("startuperror", "Tstartuperror") {
  SetCaption("Startup error");
  SetBackColor(ui::colors::SkyBlue);
  width = 480;
  Label2.SetBold(true);
  for (ui::Label* l : {&Label2, &Label3, &Label1}) {
    l->SetWordWrap(true);
    l->OnClick = [this] { FormClick(); };
  }
  Button1.hints.width = 90;
  OnActivate = [this] { FormActivate(); };
  OnClick = [this] { FormClick(); };
  Button1.OnClick = [this] { Button1Click(); };
}

void Tstartuperror::FormActivate() {
  Label2.SetCaption(StartupErrorText);
  Label3.SetCaption(platform::OsErrorText(StartupErrorCode));
}

void Tstartuperror::Button1Click() { Close(); }

// A click anywhere on the form closes it.
void Tstartuperror::FormClick() { Close(); }

}  // namespace systemforms
