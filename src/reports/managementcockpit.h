// The management cockpit form. The program does not offer this function:
// no node of the function tree leads to the form, which the program creates
// with the others and never shows. Should anything show it, it says that
// the function is not offered and closes on Escape, Enter or its button.
// Its texts are taken at every activation, so they follow the language.
#pragma once

#include <cstdint>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"

namespace reports {

// "This function is not offered by the program.", in the language in use.
std::string CockpitNotOfferedText();

class Tcockpit : public ui::Form {
 public:
  Tcockpit();

  ui::Label Label1{this, "Label1"};
  ui::Button Button1{this, "Button1", "OK"};

  // The caption and the texts in the language in use.
  void ApplyTexts();
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
};

extern Tcockpit* cockpit;

}  // namespace reports
