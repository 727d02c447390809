#include "store/startfilecheck.h"

#include <cerrno>

#include "platform/errors.h"
#include "platform/oserror.h"
#include "text/builtintext.h"

namespace store {

std::string MsgTornStartFile(const std::string& path) {
  return text::BuiltInText(
      "The file \"" + path + "\" is damaged: it holds less than one whole record. It was left as it is.",
      "Het bestand \"" + path +
          "\" is beschadigd: het bevat minder dan een volledig record. Het is "
          "ongewijzigd gelaten.",
      "Die Datei \"" + path +
          "\" ist besch\xe4"
          "digt: sie enth\xe4"
          "lt weniger als einen ganzen "
          "Datensatz. Sie wurde nicht ver\xe4"
          "ndert.");
}

std::optional<std::string> TornStartFileText(FileCode code) {
  if (RecordCount(code) > 0 || SnapshotOf(code).size == 0) return std::nullopt;
  return MsgTornStartFile(OpenedFilePath(code));
}

void RefuseTornStartFile(FileCode code) {
  if (auto text = TornStartFileText(code)) throw platform::IoError(platform::kErrnoBase + EBADMSG, *text);
}

}  // namespace store
