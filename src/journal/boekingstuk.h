// The journal-voucher form.
// Its function comes in a later version: until then the form opens as a
// pending form (formkit/pendingform.h) that says so and closes on Escape,
// Enter or its button.
// Its activation ends the file set the start screen opened for it.
#pragma once

#include "formkit/pendingform.h"

namespace journal {

class Tboeking : public shell::PendingForm {
 public:
  Tboeking();
};

extern Tboeking* boeking;

}  // namespace journal
