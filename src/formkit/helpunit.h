// The help viewer, and the way every form opens it.
// The viewer comes in a later version: until then the help form opens as a
// pending form (formkit/pendingform.h) that says so and closes on Escape,
// Enter or its button, so F1 and the help items of every form end in a
// window the user can close.
#pragma once

#include <string>

#include "formkit/pendingform.h"

namespace shell {

// The five short language texts every form hands to the help form with its
// help tag (57 bytes in the original record layout).
struct HelpCaptionBlockRec {
  std::string FileCaption;    // up to 10 characters
  std::string ExitCaption;    // up to 10
  std::string CancelCaption;  // up to 12
  std::string LanguageName;   // up to 10
  std::string SectionTitle;   // up to 10
};

// The tag the opening form asks for ("<GLA00>"); empty: the first topic.
extern std::string RequestedHelpTag;
// The tag of the last positioning.
extern std::string LastHelpTag;
// The help unit's copy of the caption block, set by the opening form.
extern HelpCaptionBlockRec HelpCaptionBlock;

class Thelpform : public PendingForm {
 public:
  Thelpform();
};

extern Thelpform* helpform;

// Opens help from `form`: the tag and the form's copy of the caption block
// go to the help unit, the form hides, the help form is shown modally, and
// the form shows again when it closes.
void ShowHelpFrom(ui::Form& form, const std::string& tag, const HelpCaptionBlockRec& block);

// Empties the tags and the caption block, as at program start.
void ResetHelpState();

}  // namespace shell
