#include "support/reset.h"

#include "masterdata/Ledgerunit.h"
#include "masterdata/ledgercatunit.h"
#include "shell/fileset.h"
#include "shell/session.h"

namespace support {

void ResetProgram(const std::string& startFolder) {
  shell::ResetFileSetState(startFolder);
  shell::ResetSessionState();
  masterdata::ResetLedgerState();
  masterdata::ResetLedgercategoryState();
}

}  // namespace support
