// A store test's administration (see adminfolder.h).
#include "support/adminfolder.h"

#include "store/fileset.h"
#include "text/systemsettings.h"

namespace support {

AdministrationFolder::AdministrationFolder() {
  store.fs.AddFolder("/d/ACME");
  store::SetDataRoot("/d/");
  store::SetCurrentAdministrationFolder("ACME");
  text::SystemSettings.CurrentUser = "ANNE";
}

}  // namespace support
