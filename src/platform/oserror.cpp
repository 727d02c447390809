#include "platform/oserror.h"

#include <cerrno>
#include <cstring>

#include "platform/cp1252.h"

namespace platform {

int CodeFromErrno(int err, bool parentFolderExists) {
  switch (err) {
    case 0:
      return kNoError;
    case ENOENT:
      return parentFolderExists ? kFileNotFound : kPathNotFound;
    case ENOTDIR:
      return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kAccessDenied;
    default:
      return kErrnoBase + err;
  }
}

std::string OsErrorText(int code) {
  switch (code) {
    case kNoError:
      return "The operation completed without error.";
    case kFileNotFound:
      return "The file could not be found.";
    case kPathNotFound:
      return "The folder could not be found.";
    case kAccessDenied:
      return "Access denied: the file or folder may not be read or written.";
    case kFileNotOpen:
      return "The file is not open.";
    case kSharingViolation:
      return "The file is in use by another program or another copy of this program.";
    case kEndOfFile:
      return "Reached the end of the file.";
    default:
      break;
  }
  // errno values are small; anything far above the base is no errno.
  if (code > kErrnoBase && code < kErrnoBase + 4096) {
    const char* text = std::strerror(code - kErrnoBase);
    if (text != nullptr) return cp1252::FromUtf8(text);
  }
  return "Unknown error " + std::to_string(code);
}

}  // namespace platform
