// The journal-voucher form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place,
// and its activation ends the file set the start screen opened for it.
#pragma once

#include "ui/form.h"

namespace journal {

class Tboeking : public ui::Form {
 public:
  Tboeking();
};

extern Tboeking* boeking;

}  // namespace journal
