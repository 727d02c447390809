// Errors that escape a user action. The event boundary of the component model
// (ui/application.h) catches them, shows their text in one message box, lets
// the registered clean-ups run (the data store closes a file set left open)
// and the program goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// A file operation failed outside the checked open of a file set: creating,
// reading, writing, seeking, truncating or closing. `Code` is the
// Windows-style error code of platform/oserror.h.
class IoError : public std::runtime_error {
 public:
  IoError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

// A text could not be converted to a number or a date.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace platform
