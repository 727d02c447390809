#include "store/startfilecheck.h"

#include <cerrno>

#include "platform/errors.h"
#include "platform/oserror.h"
#include "text/builtintext.h"

namespace store {

std::string MsgTornStartFile(const std::string& path) {
  return text::BuiltInText(text::BuiltIn::TornStartFile, {path});
}

std::optional<std::string> TornStartFileText(FileCode code) {
  if (RecordCount(code) > 0 || SnapshotOf(code).size == 0) return std::nullopt;
  return MsgTornStartFile(OpenedFilePath(code));
}

void RefuseTornStartFile(FileCode code) {
  if (auto text = TornStartFileText(code)) throw platform::IoError(platform::kErrnoBase + EBADMSG, *text);
}

}  // namespace store
