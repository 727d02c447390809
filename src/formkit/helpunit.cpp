#include "formkit/helpunit.h"

#include "shell/languagetext.h"

namespace shell {

std::string RequestedHelpTag;
std::string LastHelpTag;
HelpCaptionBlockRec HelpCaptionBlock;

void ResetHelpState() {
  RequestedHelpTag.clear();
  LastHelpTag.clear();
  HelpCaptionBlock = {};
}

Thelpform* helpform = nullptr;

Thelpform::Thelpform() : PendingForm("helpform", "Thelpform", [] { return L(284); }, /*endsFileSet=*/false) {}

void ShowHelpFrom(ui::Form& form, const std::string& tag, const HelpCaptionBlockRec& block) {
  RequestedHelpTag = tag;
  HelpCaptionBlock = block;
  form.Hide();
  if (helpform) helpform->ShowModal();
  form.Show();
}

}  // namespace shell
