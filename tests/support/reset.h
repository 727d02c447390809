// One reset of the whole program's unit state between tests: every unit's
// own reset routine, in one place, so that no test empties globals by hand.
#pragma once

#include <string>

namespace support {

// Resets every unit (file set, session, forms' unit state) and makes
// `startFolder` the working folder.
void ResetProgram(const std::string& startFolder);

}  // namespace support
