#include "store/scopedfileset.h"

#include "store/fileset.h"

namespace store {

ScopedFileSet::ScopedFileSet(const std::string& list) {
  int result = 0;
  OpenFileSet(list, result);
  open_ = result == 0;
  if (!open_) failure_ = FileSetFailure{result, FileErrorText, FileErrorCode};
}

// A close that fails here (during an error, or at the end of an operation)
// must not end the program: the set is then closed by force and the error
// is not passed on.
ScopedFileSet::~ScopedFileSet() {
  try {
    Close();
  } catch (...) {
    ForceCloseFileSet();
  }
}

void ScopedFileSet::Close() {
  if (!open_) return;
  open_ = false;
  CloseFileSet();
}

}  // namespace store
