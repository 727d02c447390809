// The management cockpit form (layout only; no function offers it).
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace reports {

class Tcockpit : public ui::Form {
 public:
  Tcockpit() : ui::Form("cockpit", "Tcockpit") {}
};

extern Tcockpit* cockpit;

}  // namespace reports
