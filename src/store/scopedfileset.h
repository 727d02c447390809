// `ScopedFileSet`: one data operation's file set as the data store sees it.
// The set opens when the scope starts and closes once when it ends, also
// when an error leaves the operation. A failed open is reported as values
// (the result, the set's error text and the operating system's code); the
// store never shows anything itself: the form or start-up step that asked
// decides how to tell the user (formkit/filesetscope.h shows the usual
// message box).
#pragma once

#include <cstdint>
#include <string>

namespace store {

// What a failed OpenFileSet left behind.
struct FileSetFailure {
  int result = 0;            // 1: a file could not be opened; 2: in use
  std::string text;          // FileErrorText ("IO errorcode: GLA5", ...)
  std::int32_t code = 0;     // FileErrorCode, the operating system's code
};

class ScopedFileSet {
 public:
  explicit ScopedFileSet(const std::string& list);
  ~ScopedFileSet();
  ScopedFileSet(const ScopedFileSet&) = delete;
  ScopedFileSet& operator=(const ScopedFileSet&) = delete;

  // Whether the set opened.
  bool Ok() const { return open_; }
  int Result() const { return failure_.result; }
  // The failure of the open; empty when the set opened.
  const FileSetFailure& Failure() const { return failure_; }
  // Ends the set before the scope ends. A failing close raises.
  void Close();

 private:
  bool open_ = false;
  FileSetFailure failure_;
};

}  // namespace store
