#include "formkit/rowlist.h"

#include "formkit/filesetscope.h"
#include "text/builtintext.h"
#include "ui/application.h"

namespace formkit {

SaveOutcome SaveWholeFile(store::FileCode code, const std::string& list, const void* recs, int count,
                          std::size_t recordSize, store::FileSnapshot& loaded,
                          const std::function<bool()>& checkUnderLock) {
  FileSetScope scope(list);
  if (!scope.Ok()) return SaveOutcome::NotOpened;
  if (SnapshotOf(code) != loaded) {
    ui::ShowMessage(text::MsgChangedInAnotherCopy());
    return SaveOutcome::ChangedElsewhere;
  }
  if (checkUnderLock && !checkUnderLock()) return SaveOutcome::Refused;
  store::fileset_detail::CheckRecordSize(code, recordSize);
  RewriteFile(code, recs, count);
  loaded = SnapshotOf(code);
  scope.Close();
  return SaveOutcome::Written;
}

}  // namespace formkit
