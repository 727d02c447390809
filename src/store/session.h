// The session: what the program knows about the running session and every
// form reads — the product title, the administration chosen at log-in, its
// settings and the live system parameters. The start screen and the system
// settings form set it; nothing below the forms shows it. Forms read the
// settings and the parameters here, as they are now; a form keeps a copy of
// its own only where it must go on working from what it was given (each
// such copy says so at its declaration).
#pragma once

#include <string>

#include "records/adminsettingsrec.h"
#include "records/systemparamrec.h"

namespace store {

// Root text of the function tree and first part of every form caption.
extern std::string ProductTitle;
// Short name (the data sub-folder, up to 10 characters) and name (up to 30)
// of the chosen administration; empty while none is chosen.
extern std::string CurrentAdministrationCode;
extern std::string CurrentAdministrationName;
// The live system parameters: record 0 of the system-parameter file, as the
// settings form read or wrote it last. The log-in puts the current user into
// it; the language routine points its data folder (in memory only) at the
// chosen administration's folder.
extern records::SystemParamRec SystemParams;
// The settings of the chosen administration: the record as last read or
// written (store/adminsettingsload.h loads, saves and empties it).
extern records::AdminSettingsRec AdminSettings;
// The data folder as stored (code page 1252, "/"-separated, ending in "/"):
// the root below which every administration has its folder.
extern std::string DataRootFolder;

// Empties the session (no administration, empty system parameters and
// settings).
void ResetSessionState();

}  // namespace store
