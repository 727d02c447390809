#include "reports/Rapport1unit.h"

#include "shell/fileset.h"

namespace reports {

TRapport1* Rapport1 = nullptr;

TRapport1::TRapport1() : ui::Form("Rapport1", "TRapport1") {
  OnActivate = [] { shell::CloseFileSet(); };
}

}  // namespace reports
