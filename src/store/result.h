// `Result<Outcome, T>`: what a store call hands back, in one shape for
// every store. `outcome` names what happened (each store keeps its own
// enum of outcomes, whose first enumerator `Done` is the plain success and
// which has a `FileSetFailed`); `failure` says why the file set did not
// open and is set only with `FileSetFailed`; `value` holds what the call
// read or wrote, where there is one (a refusal may still carry what was
// read, when the store says so). A store whose answer holds more than its
// value keeps those fields in `T`. The store shows nothing: the form that
// asked reports a file failure through `formkit::ReportFileFailure`
// (src/formkit/filesetscope.h) and shows the message the outcome names.
#pragma once

#include <optional>
#include <utility>
#include <variant>

#include "store/scopedfileset.h"

namespace store {

template <class Outcome, class T = std::monostate>
struct Result {
  Outcome outcome = Outcome::Done;
  FileSetFailure failure;   // FileSetFailed only
  std::optional<T> value;   // what was read or written, where there is one

  // The plain success.
  bool Ok() const { return outcome == Outcome::Done; }
  // The file set did not open; `failure` tells why.
  bool FileFailed() const { return outcome == Outcome::FileSetFailed; }

  // The answer of a set that did not open.
  static Result Failed(FileSetFailure why) { return Result{Outcome::FileSetFailed, std::move(why), std::nullopt}; }
};

}  // namespace store
