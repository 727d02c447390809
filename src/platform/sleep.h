// The blocking sleep of the GUI thread (the file-set opener waits in 100 ms
// passes while another copy holds the files). Tests install a sleeper of
// their own that only counts.
#pragma once

#include <functional>

namespace platform {

// The pause between two passes of the file-set opener.
constexpr int kOpenRetryMilliseconds = 100;

// Blocks the calling thread for `ms` milliseconds (or calls the installed
// sleeper).
void SleepMilliseconds(int ms);

using Sleeper = std::function<void(int ms)>;
// Installs `s` in place of the real sleep; an empty function restores the
// real one. Returns the sleeper installed before.
Sleeper SetSleeper(Sleeper s);

}  // namespace platform
