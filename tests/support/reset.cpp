#include "support/reset.h"

#include "shell/fileset.h"
#include "shell/session.h"
#include "system/userunit.h"

namespace support {

void ResetProgram(const std::string& startFolder) {
  shell::ResetFileSetState(startFolder);
  shell::ResetSessionState();
  shell::ResetUsersState();
}

}  // namespace support
