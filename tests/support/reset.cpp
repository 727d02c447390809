#include "support/reset.h"

#include "shell/adminsettingsload.h"
#include "shell/fileset.h"
#include "shell/session.h"
#include "ui/application.h"

namespace support {

void ResetProgram(const std::string& startFolder) {
  shell::ResetFileSetState(startFolder);
  shell::ResetSessionState();
  masterdata::ResetAdminSettingsState();
  ui::ResetApplicationState();
}

}  // namespace support
