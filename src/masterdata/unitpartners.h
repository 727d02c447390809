// The partners form (customers and suppliers).
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place,
// and its activation ends the file set the start screen opened for it.
#pragma once

#include "ui/form.h"

namespace masterdata {

class Tpartners2 : public ui::Form {
 public:
  Tpartners2();
};

extern Tpartners2* partners2;

}  // namespace masterdata
