// The GL accounts form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace masterdata {

class TLedger : public ui::Form {
 public:
  TLedger() : ui::Form("Ledger", "TLedger") {}
};

extern TLedger* Ledger;

}  // namespace masterdata
