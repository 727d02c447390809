#include "reports/managementcockpit.h"

namespace reports {

Tcockpit* cockpit = nullptr;

}  // namespace reports
