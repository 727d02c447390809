// The fixed-assets form (no function offers it).
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace masterdata {

class TFixedassetsform : public ui::Form {
 public:
  TFixedassetsform() : ui::Form("Fixedassetsform", "TFixedassetsform") {}
};

extern TFixedassetsform* Fixedassetsform;

}  // namespace masterdata
