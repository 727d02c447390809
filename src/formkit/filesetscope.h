// `FileSetScope`: the forms' file set for one operation. It is the data
// store's `ScopedFileSet` (opened when the scope starts, closed once when it
// ends, also when an error leaves the operation) plus the message box every
// operation shows when the files cannot be opened.
#pragma once

#include <string>

#include "store/result.h"
#include "store/scopedfileset.h"

namespace formkit {

enum class FileSetReport {
  TextAndOsText,  // FileErrorText, two blanks, the operating system's text
  TextOnly,       // FileErrorText alone
  OsTextOnly,     // the operating system's text alone
  Silent,         // no message box
};

// The message box of a failed OpenFileSet.
void ReportFileSetError(const store::FileSetFailure& failure, FileSetReport report = FileSetReport::TextAndOsText);
// The same for the failure the last OpenFileSet left in FileErrorText and
// FileErrorCode.
void ReportFileSetError(FileSetReport report = FileSetReport::TextAndOsText);

// The forms' one test of a store's answer: when its file set did not open,
// shows that failure's message box and answers true (the operation is to
// be abandoned); any other outcome shows nothing and answers false.
template <class Outcome, class T>
bool ReportFileFailure(const store::Result<Outcome, T>& result, FileSetReport report = FileSetReport::TextAndOsText) {
  if (!result.FileFailed()) return false;
  ReportFileSetError(result.failure, report);
  return true;
}

class FileSetScope {
 public:
  explicit FileSetScope(const std::string& list, FileSetReport report = FileSetReport::TextAndOsText);

  // Whether the set opened; when not, the message box has been shown and
  // the operation is to be abandoned.
  bool Ok() const { return set_.Ok(); }
  int Result() const { return set_.Result(); }
  // Ends the set before the scope ends.
  void Close() { set_.Close(); }

 private:
  store::ScopedFileSet set_;
};

}  // namespace formkit
