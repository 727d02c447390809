// Files the program makes from another file: a copy, a backup, a record of
// what it is about to change. Such a file holds what its original holds, so
// it gets the original's access mode from the moment it exists, never the
// one the umask gives (books kept readable by their user only stay so in
// every copy). A file made where no original exists (a new working folder)
// follows the umask, so that users sharing a folder by group keep doing so.
//
// Everything goes through the file-system seam (platform/filesystem.h);
// results are the seam's codes (0, 2, 3, 5, 32, 1000 + errno).
#pragma once

#include <memory>
#include <string>

#include "platform/filesystem.h"

namespace platform {

struct CreatedFile {
  int code = 0;                         // 0: `handle` is open for reading and writing
  std::unique_ptr<FileHandle> handle;
};

// Creates `path` empty (or empties it) with the access mode of the file
// `like`; when `like` does not exist, as CreateEmpty does.
CreatedFile CreateEmptyLike(const std::string& path, const std::string& like);

// Copies the bytes of `from` to `to`, with `from`'s access mode: through
// "<to>.ombrelo-tmp", synced, renamed over `to`, the folder synced. A
// failure before the rename leaves `to` as it was and no temporary file
// behind.
int CopyKeepingMode(const std::string& from, const std::string& to);

}  // namespace platform
