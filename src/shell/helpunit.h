// The help viewer.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace shell {

class Thelpform : public ui::Form {
 public:
  Thelpform() : ui::Form("helpform", "Thelpform") {}
};

extern Thelpform* helpform;

}  // namespace shell
