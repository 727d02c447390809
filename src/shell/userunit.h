// The users form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace shell {

class TUsers : public ui::Form {
 public:
  TUsers() : ui::Form("Users", "TUsers") {}
};

extern TUsers* Users;

}  // namespace shell
