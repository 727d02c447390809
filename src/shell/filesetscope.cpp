#include "shell/filesetscope.h"

#include "platform/oserror.h"
#include "shell/fileset.h"
#include "ui/application.h"

namespace shell {

void ReportFileSetError(FileSetReport report) {
  switch (report) {
    case FileSetReport::TextAndOsText:
      ui::ShowMessage(FileErrorText + "  " + platform::OsErrorText(FileErrorCode));
      break;
    case FileSetReport::TextOnly:
      ui::ShowMessage(FileErrorText);
      break;
    case FileSetReport::OsTextOnly:
      ui::ShowMessage(platform::OsErrorText(FileErrorCode));
      break;
    case FileSetReport::Silent:
      break;
  }
}

FileSetScope::FileSetScope(const std::string& list, FileSetReport report) {
  OpenFileSet(list, result_);
  open_ = result_ == 0;
  if (!open_) ReportFileSetError(report);
}

// A close that fails here (during an error, or at the end of an operation)
// must not end the program: the set is then closed by force and the error
// is not passed on.
FileSetScope::~FileSetScope() {
  try {
    Close();
  } catch (...) {
    ForceCloseFileSet();
  }
}

void FileSetScope::Close() {
  if (!open_) return;
  open_ = false;
  CloseFileSet();
}

}  // namespace shell
