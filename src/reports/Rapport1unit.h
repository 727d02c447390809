// The report form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace reports {

class TRapport1 : public ui::Form {
 public:
  TRapport1() : ui::Form("Rapport1", "TRapport1") {}
};

extern TRapport1* Rapport1;

}  // namespace reports
