// The GL categories form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace masterdata {

class TLedgercategory : public ui::Form {
 public:
  TLedgercategory() : ui::Form("Ledgercategory", "TLedgercategory") {}
};

extern TLedgercategory* Ledgercategory;

}  // namespace masterdata
