#include "formkit/pendingform.h"

#include <utility>

#include "platform/cp1252.h"
#include "shell/builtintext.h"
#include "shell/fileset.h"
#include "shell/languagetext.h"
#include "shell/session.h"

namespace shell {

std::string PendingFunctionText() {
  return BuiltInText("This function comes in a later version of the program.",
                     "Deze functie komt in een latere versie van het programma.",
                     cp1252::L("Diese Funktion kommt in einer späteren Version des Programms."));
}

std::string PendingFormCaption(const std::string& functionName) { return ProductTitle + " : " + functionName; }

PendingForm::PendingForm(std::string name, std::string className, std::function<std::string()> functionName,
                         bool endsFileSet)
    : ui::Form(std::move(name), std::move(className)),
      functionName_(std::move(functionName)),
      endsFileSet_(endsFileSet) {
  width = 420;
  Label1.SetWordWrap(true);
  Button1.hints.width = 90;
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  Button1.OnClick = [this] { Close(); };
  ApplyTexts();
}

void PendingForm::ApplyTexts() {
  SetCaption(PendingFormCaption(functionName_ ? functionName_() : std::string()));
  Label1.SetCaption(PendingFunctionText());
  // "OK" is the same word in every language of the language file.
  Button1.SetCaption(L(473).empty() ? std::string("OK") : L(473));
}

void PendingForm::FormActivate() {
  // The files the start screen opened for the form: nothing reads them.
  if (endsFileSet_) CloseFileSet();
  ApplyTexts();
}

void PendingForm::FormKeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::Escape || key == ui::keys::Return) {
    key = 0;
    Close();
  }
}

}  // namespace shell
