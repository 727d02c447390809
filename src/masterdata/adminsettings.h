// The administration-settings form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace masterdata {

class Tadministrationsetting : public ui::Form {
 public:
  Tadministrationsetting() : ui::Form("administrationsetting", "Tadministrationsetting") {}
};

extern Tadministrationsetting* administrationsetting;

}  // namespace masterdata
