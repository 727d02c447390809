// The start-up error form: shown instead of the program when the files it
// needs at start-up cannot be opened.
#pragma once

#include <string>

#include "ui/form.h"

namespace systemforms {

// The file set's error text and code after the failed start-up open.
extern std::string StartupErrorText;
extern int StartupErrorCode;

// Empties the error text and code, as at program start.
void ResetStartupErrorState();

class Tstartuperror : public ui::Form {
 public:
  Tstartuperror();

  ui::Label Label2{this, "Label2"};
  ui::Label Label3{this, "Label3"};
  ui::Label Label1{this, "Label1", "1. Check file and folder properties !. (None readonly)"};
  ui::Button Button1{this, "Button1", "OK"};

  void FormActivate();
  void Button1Click();
  void FormClick();
};

extern Tstartuperror* startuperror;

}  // namespace systemforms
