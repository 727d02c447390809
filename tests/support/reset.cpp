#include "support/reset.h"

#include "formkit/helpunit.h"
#include "journal/boekingstuk.h"
#include "masterdata/Administrationsunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/adminsettings.h"
#include "masterdata/ledgercatunit.h"
#include "masterdata/unitpartners.h"
#include "program/languageroutine.h"
#include "program/mainblock.h"
#include "program/startschermunit.h"
#include "reports/Rapport1unit.h"
#include "reports/impexp.h"
#include "books/closing/periodclosing.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "store/session.h"
#include "system/startuperrorunit.h"
#include "system/systemscreen.h"
#include "system/userunit.h"
#include "ui/application.h"
#include "ui/printing.h"

namespace support {

void ResetProgram(const std::string& startFolder) {
  store::ResetFileSetState(startFolder);
  store::ResetSessionState();
  text::ResetLanguageState();
  store::ResetAdminSettingsState();
  ui::ResetApplicationState();
  ui::ResetPrintingState();
  formkit::ResetHelpState();
  systemforms::ResetUsersState();
  systemforms::ResetSystemSettingsState();
  masterdata::ResetAdministrationsState();
  masterdata::ResetLedgerState();
  masterdata::ResetLedgercategoryState();
  masterdata::ResetPartnersState();
  reports::ResetExportImportState();
  journal::ResetBoekingState();
  reports::ResetRapportState();
  program::ResetStartscreenState();
  program::ResetLanguageRoutineState();
  systemforms::ResetStartupErrorState();
  program::ResetMainBlockState();
  books::closing::ResetClosingState();
  masterdata::ResetAdministrationsettingState();
}

}  // namespace support
