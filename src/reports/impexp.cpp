#include "reports/impexp.h"

namespace reports {

TExportImport* ExportImport = nullptr;

}  // namespace reports
