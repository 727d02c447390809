// The administrations form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace masterdata {

class TAdministrations : public ui::Form {
 public:
  TAdministrations() : ui::Form("Administrations", "TAdministrations") {}
};

extern TAdministrations* Administrations;

}  // namespace masterdata
