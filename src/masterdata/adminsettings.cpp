#include "masterdata/adminsettings.h"

#include "shell/fileset.h"

namespace masterdata {

Tadministrationsetting* administrationsetting = nullptr;

Tadministrationsetting::Tadministrationsetting() : ui::Form("administrationsetting", "Tadministrationsetting") {
  OnActivate = [] { shell::CloseFileSet(); };
}

}  // namespace masterdata
