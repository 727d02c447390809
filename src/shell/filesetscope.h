// One data operation's file set: opened when the scope starts, closed once
// when it ends (also when an error leaves the operation), with the message
// box every operation shows when the files cannot be opened.
#pragma once

#include <string>

namespace shell {

enum class FileSetReport {
  TextAndOsText,  // FileErrorText, two blanks, the operating system's text
  TextOnly,       // FileErrorText alone
  OsTextOnly,     // the operating system's text alone
  Silent,         // no message box
};

// The message box of a failed OpenFileSet.
void ReportFileSetError(FileSetReport report = FileSetReport::TextAndOsText);

class FileSetScope {
 public:
  explicit FileSetScope(const std::string& list, FileSetReport report = FileSetReport::TextAndOsText);
  ~FileSetScope();
  FileSetScope(const FileSetScope&) = delete;
  FileSetScope& operator=(const FileSetScope&) = delete;

  // Whether the set opened; when not, the message box has been shown and
  // the operation is to be abandoned.
  bool Ok() const { return open_; }
  int Result() const { return result_; }
  // Ends the set before the scope ends.
  void Close();

 private:
  bool open_ = false;
  int result_ = 0;
};

}  // namespace shell
