// The fixed-assets form (no function offers it).
// Its function comes in a later version: until then the form opens as a
// pending form (formkit/pendingform.h) that says so and closes on Escape,
// Enter or its button.
#pragma once

#include "formkit/pendingform.h"

namespace masterdata {

class TFixedassetsform : public shell::PendingForm {
 public:
  TFixedassetsform();
};

extern TFixedassetsform* Fixedassetsform;

}  // namespace masterdata
