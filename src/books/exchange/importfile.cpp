#include "books/exchange/importfile.h"

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/filecopy.h"

namespace books::exchange {

std::string BeforeImportPath(const std::string& path) { return path + ".before-import"; }

ImportWrite WriteImportedRecords(store::FileCode file, const void* records, int count) {
  ImportWrite out;
  store::ScopedFileSet set(store::FileInfo(file).name);
  if (!set.Ok()) {
    out.step = ImportWriteStep::OpenSet;
    out.failure = set.Failure();
    return out;
  }
  const std::string path = store::OpenedFilePath(file);
  const std::string backup = BeforeImportPath(path);
  // The copy holds the whole file: it gets the file's access mode, and is
  // on the disk before the file changes.
  const int copied = platform::CopyKeepingMode(cp1252::ToUtf8(path), cp1252::ToUtf8(backup));
  if (copied != 0) {
    out.step = ImportWriteStep::Backup;
    out.code = copied;
    out.detail = backup;
    return out;
  }
  try {
    store::RewriteFile(file, records, count);
  } catch (const platform::IoError& e) {
    out.step = ImportWriteStep::Replace;
    out.code = e.Code();
    out.detail = e.what();
  }
  return out;
}

}  // namespace books::exchange
