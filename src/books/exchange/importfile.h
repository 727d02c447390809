// Writing the records of a checked import over their data file, the last
// step of a ";"-separated import (books/exchange/delimited.h checks the text).
//
// The old file is first copied beside itself as "<file name>.before-import"
// (one copy: the next import replaces it), with the file's access mode,
// synced; then the new records replace the
// file through a temporary file that is renamed over it, so another copy of
// the program reads the old file or the new one, never a half-written one.
// When the copy fails nothing is replaced; when the replace fails the old
// file stays as it was. The routine works inside the caller's file set when
// that holds the file (the import form keeps its set open from its question
// to the end, so nobody changes the file in between), else in its own.
// Failures come back as values, nothing is shown.
#pragma once

#include <string>
#include <vector>

#include "store/fileset.h"
#include "store/scopedfileset.h"

namespace books::exchange {

enum class ImportWriteStep {
  Done,      // the file holds the new records
  OpenSet,   // the file set did not open (failure filled in)
  Backup,    // the copy to ".before-import" failed; nothing replaced
  Replace,   // writing the new file failed; the old one is in place
};

struct ImportWrite {
  ImportWriteStep step = ImportWriteStep::Done;
  store::FileSetFailure failure;  // OpenSet only
  int code = 0;                   // the operating system's code (Backup, Replace)
  std::string detail;             // the failing path or the error's text
  bool Ok() const { return step == ImportWriteStep::Done; }
};

// The name of the copy beside the data file `path`.
std::string BeforeImportPath(const std::string& path);

ImportWrite WriteImportedRecords(store::FileCode file, const void* records, int count);

template <store::RecordType R>
ImportWrite WriteImportedRecords(store::FileCode file, const std::vector<R>& recs) {
  return WriteImportedRecords(file, recs.empty() ? nullptr : static_cast<const void*>(recs.data()),
                              static_cast<int>(recs.size()));
}

}  // namespace books::exchange
