// The partners form (customers and suppliers).
// Its function comes in a later version: until then the form opens as a
// pending form (formkit/pendingform.h) that says so and closes on Escape,
// Enter or its button.
// Its activation ends the file set the start screen opened for it.
#pragma once

#include "formkit/pendingform.h"

namespace masterdata {

class Tpartners2 : public shell::PendingForm {
 public:
  Tpartners2();
};

extern Tpartners2* partners2;

}  // namespace masterdata
