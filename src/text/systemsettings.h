// `SystemSettings`: the program's copy of the tail of the system-parameter
// record (the data folder, the amount settings and the current user). The
// data store sets the data folder when it opens the system-parameter file;
// the log-in and the settings form refresh the rest; the amount routines and
// most forms read it.
#pragma once

#include <cstdint>
#include <string>

namespace text {

struct SystemSettingsRec {
  // The data folder of the current administration (CP1252, "/"-separated,
  // ending in "/"); empty before the system parameters were read.
  std::string DataFolder;
  int16_t AmountDecimals = 2;   // 0 to 4
  char CurrencySign = '\x80';   // the euro sign in code page 1252
  char CurrencyInFront = 'T';   // 'T': the sign stands before the amount
  std::string CurrentUser;      // up to 20 characters
};

extern SystemSettingsRec SystemSettings;

}  // namespace text
