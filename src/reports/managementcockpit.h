// The management cockpit form (no function offers it).
// Its function comes in a later version: until then the form opens as a
// pending form (formkit/pendingform.h) that says so and closes on Escape,
// Enter or its button.
#pragma once

#include "formkit/pendingform.h"

namespace reports {

class Tcockpit : public shell::PendingForm {
 public:
  Tcockpit();
};

extern Tcockpit* cockpit;

}  // namespace reports
