// The report form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place,
// and its activation ends the file set the start screen opened for it.
#pragma once

#include "ui/form.h"

namespace reports {

class TRapport1 : public ui::Form {
 public:
  TRapport1();
};

extern TRapport1* Rapport1;

}  // namespace reports
