#include "masterdata/unitpartners.h"

#include "shell/languagetext.h"

namespace masterdata {

Tpartners2* partners2 = nullptr;

Tpartners2::Tpartners2()
    : shell::PendingForm("partners2", "Tpartners2", [] { return shell::L(919); }, /*endsFileSet=*/true) {}

}  // namespace masterdata
