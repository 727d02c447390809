// The export and import form.
// Its function comes in a later version: until then the form opens as a
// pending form (formkit/pendingform.h) that says so and closes on Escape,
// Enter or its button.
#pragma once

#include "formkit/pendingform.h"

namespace reports {

class TExportImport : public shell::PendingForm {
 public:
  TExportImport();
};

extern TExportImport* ExportImport;

}  // namespace reports
