#include "reports/impexp.h"

#include "shell/languagetext.h"
#include "shell/textroutines.h"

namespace reports {

TExportImport* ExportImport = nullptr;

TExportImport::TExportImport()
    : shell::PendingForm("ExportImport", "TExportImport", [] { return shell::TrimTrailingBlanks(shell::L(8172)); }, /*endsFileSet=*/false) {}

}  // namespace reports
