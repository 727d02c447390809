#include "masterdata/unitpartners.h"

#include "shell/fileset.h"

namespace masterdata {

Tpartners2* partners2 = nullptr;

Tpartners2::Tpartners2() : ui::Form("partners2", "Tpartners2") {
  OnActivate = [] { shell::CloseFileSet(); };
}

}  // namespace masterdata
