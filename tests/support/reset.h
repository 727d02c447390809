// One reset of the whole program's unit state between tests: every unit's
// own reset routine, in one place, so that no test empties globals by hand.
#pragma once

#include <string>

namespace support {

// Resets every unit (file set, session, forms' unit state) and makes
// `startFolder` the working folder.
void ResetProgram(const std::string& startFolder);

// Resets the program when made and again when it ends, for fixtures that do
// not use a FakeDataStore (which does the same).
class ProgramState {
 public:
  explicit ProgramState(const std::string& startFolder = "") { ResetProgram(startFolder); }
  ~ProgramState() { ResetProgram(""); }
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;
};

}  // namespace support
