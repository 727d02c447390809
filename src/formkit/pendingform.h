// A form whose function comes in a later version of the program.
//
// Until its function is built, such a form still opens as a proper window:
// its caption is the product title and the function's name, one line says
// that the function comes in a later version, and Escape, Enter or a click
// on its button closes it again. The forms keep their own class and global
// (the program creates every form in its place); each names its function
// and says whether its activation ends the file set the start screen opened
// for it (the start screen opens the files a form reads before it shows it).
// The texts are taken at every activation, so they follow the language.
#pragma once

#include <functional>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"

namespace shell {

// The line the form shows, in the language in use.
std::string PendingFunctionText();
// The caption of a pending form: the product title and the function's name.
std::string PendingFormCaption(const std::string& functionName);

class PendingForm : public ui::Form {
 public:
  // `functionName` gives the function's name in the language in use.
  PendingForm(std::string name, std::string className, std::function<std::string()> functionName,
              bool endsFileSet);

  ui::Label Label1{this, "Label1"};
  ui::Button Button1{this, "Button1", "OK"};

  // The caption and the texts in the language in use; also at every
  // activation.
  void ApplyTexts();
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);

 private:
  std::function<std::string()> functionName_;
  bool endsFileSet_;
};

}  // namespace shell
