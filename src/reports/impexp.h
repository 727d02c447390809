// The export and import form.
// Its components and handlers come with the function it serves; until then
// the form exists so that the program creates every form in its place.
#pragma once

#include "ui/form.h"

namespace reports {

class TExportImport : public ui::Form {
 public:
  TExportImport() : ui::Form("ExportImport", "TExportImport") {}
};

extern TExportImport* ExportImport;

}  // namespace reports
