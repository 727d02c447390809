#include "formkit/helpunit.h"

namespace shell {

std::string RequestedHelpTag;
std::string LastHelpTag;
HelpCaptionBlockRec HelpCaptionBlock;
Thelpform* helpform = nullptr;

void ShowHelpFrom(ui::Form& form, const std::string& tag, const HelpCaptionBlockRec& block) {
  RequestedHelpTag = tag;
  HelpCaptionBlock = block;
  form.Hide();
  if (helpform) helpform->ShowModal();
  form.Show();
}

}  // namespace shell
