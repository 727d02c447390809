// Error codes of file operations and their message texts.
//
// The program reports file errors with the codes its users and its texts
// know ("IO errorcode: GLA3"): small Windows-style numbers. The file-system
// layer (platform/filesystem.h) maps errno to them:
//
//   0     no error
//   2     file not found (ENOENT, the parent folder exists)
//   3     folder not found (ENOENT or ENOTDIR, the parent folder is missing)
//   5     access denied (EACCES, EPERM, EROFS)
//   6     the file is not open (a record call on a file the open set lacks)
//   32    the file is in use (the folder's lock is held by another copy)
//   38    reached the end of the file (a record index outside the file)
//   1000 + errno   every other errno, e.g. 1028 for ENOSPC, 1017 for EEXIST
#pragma once

#include <string>

namespace platform {

constexpr int kNoError = 0;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kFileNotOpen = 6;
constexpr int kSharingViolation = 32;
constexpr int kEndOfFile = 38;
constexpr int kErrnoBase = 1000;

// Maps an errno value to a code. `parentFolderExists` tells ENOENT's two
// cases apart (file missing in an existing folder: 2; folder missing: 3).
int CodeFromErrno(int err, bool parentFolderExists);

// The operating system's message text for a code, in code page 1252: our own
// English texts for 0, 2, 3, 5, 6, 32 and 38, the C library's text of the
// errno for 1000 + errno, and "Unknown error N" for anything else.
std::string OsErrorText(int code);

}  // namespace platform
