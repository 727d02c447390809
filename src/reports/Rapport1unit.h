// The report form.
// Its function comes in a later version: until then the form opens as a
// pending form (formkit/pendingform.h) that says so and closes on Escape,
// Enter or its button.
// Its activation ends the file set the start screen opened for it.
#pragma once

#include "formkit/pendingform.h"

namespace reports {

class TRapport1 : public shell::PendingForm {
 public:
  TRapport1();
};

extern TRapport1* Rapport1;

}  // namespace reports
