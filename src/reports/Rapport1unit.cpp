#include "reports/Rapport1unit.h"

#include "shell/languagetext.h"

namespace reports {

TRapport1* Rapport1 = nullptr;

TRapport1::TRapport1()
    : shell::PendingForm("Rapport1", "TRapport1", [] { return shell::L(944); }, /*endsFileSet=*/true) {}

}  // namespace reports
