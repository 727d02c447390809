#include "reports/Rapport1unit.h"

namespace reports {

TRapport1* Rapport1 = nullptr;

}  // namespace reports
