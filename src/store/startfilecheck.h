// The check the creation handlers make on a start file (the user file, the
// system-parameter file) before they treat it as empty and write a first
// record into it: a file that holds bytes but less than one whole record is
// damaged, not new. It is reported as a start-up error that names the file,
// and nothing is written to it. A partial record after whole records is not
// this case (a full disk can leave one; the record count ignores it).
#pragma once

#include <optional>
#include <string>

#include "store/fileset.h"

namespace store {

// For a file of the open set: the error text naming the file when it holds
// bytes but less than one whole record; nothing for an empty file or one
// with at least one whole record.
std::optional<std::string> TornStartFileText(FileCode code);

// For a file of the open set whose RecordCount is 0: raises
// platform::IoError naming the file when it is not empty. An empty file
// passes.
void RefuseTornStartFile(FileCode code);

// The text of that error for the file at `path`, in the language in use.
std::string MsgTornStartFile(const std::string& path);

}  // namespace store
