#include "masterdata/adminsettings.h"

#include "shell/languagetext.h"

namespace masterdata {

Tadministrationsetting* administrationsetting = nullptr;

Tadministrationsetting::Tadministrationsetting()
    : shell::PendingForm("administrationsetting", "Tadministrationsetting", [] { return shell::L(1079); }, /*endsFileSet=*/true) {}

}  // namespace masterdata
