#include "journal/boekingstuk.h"

#include "shell/fileset.h"

namespace journal {

Tboeking* boeking = nullptr;

Tboeking::Tboeking() : ui::Form("boeking", "Tboeking") {
  OnActivate = [] { shell::CloseFileSet(); };
}

}  // namespace journal
