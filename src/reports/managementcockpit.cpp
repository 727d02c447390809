#include "reports/managementcockpit.h"

#include <string>

namespace reports {

Tcockpit* cockpit = nullptr;

Tcockpit::Tcockpit()
    : shell::PendingForm("cockpit", "Tcockpit", [] { return std::string("Management cockpit"); }, /*endsFileSet=*/false) {}

}  // namespace reports
