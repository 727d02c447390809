// The system-settings form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace shell {

class Tsystemscherm : public ui::Form {
 public:
  Tsystemscherm() : ui::Form("systemscherm", "Tsystemscherm") {}
};

extern Tsystemscherm* systemscherm;

}  // namespace shell
