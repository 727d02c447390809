#include "support/reset.h"

#include "program/languageroutine.h"
#include "program/startschermunit.h"
#include "shell/fileset.h"
#include "shell/session.h"

namespace support {

void ResetProgram(const std::string& startFolder) {
  shell::ResetFileSetState(startFolder);
  shell::ResetSessionState();
  shell::ResetStartscreenState();
  shell::ResetLanguageRoutineState();
}

}  // namespace support
