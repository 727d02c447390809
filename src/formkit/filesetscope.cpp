#include "formkit/filesetscope.h"

#include "platform/oserror.h"
#include "store/fileset.h"
#include "ui/application.h"

namespace formkit {

void ReportFileSetError(const store::FileSetFailure& failure, FileSetReport report) {
  switch (report) {
    case FileSetReport::TextAndOsText:
      ui::ShowMessage(failure.text + "  " + platform::OsErrorText(failure.code));
      break;
    case FileSetReport::TextOnly:
      ui::ShowMessage(failure.text);
      break;
    case FileSetReport::OsTextOnly:
      ui::ShowMessage(platform::OsErrorText(failure.code));
      break;
    case FileSetReport::Silent:
      break;
  }
}

void ReportFileSetError(FileSetReport report) {
  ReportFileSetError(store::FileSetFailure{1, store::FileErrorText, store::FileErrorCode}, report);
}

FileSetScope::FileSetScope(const std::string& list, FileSetReport report) : set_(list) {
  if (!set_.Ok()) ReportFileSetError(set_.Failure(), report);
}

}  // namespace formkit
